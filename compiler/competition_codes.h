// Competition codes: two checksums that tie the compiled files to the
// scenario's identity (train number and scenario name, voci 86 and 85).
#pragma once

#include "compiler/state.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

// The plain code: the sum of the first 25 character codes of the working
// text. 0..6375; stored in cell 1's dato2.
int32_t codice_gara_og(const stato_scenario& s);
// The weighted code: the sum of position (from 1) times character code over
// the same 25 characters. 0..82875; stored in voci(85).valore4.
int32_t codice_gara_st(const stato_scenario& s);

// Windows-1252 text with every upper-case letter in its lower-case form.
std::string minuscole_cp1252(std::string_view testo);

}  // namespace scenario
