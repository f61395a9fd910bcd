// The line list every writer builds: its file's lines in printing order,
// closed by the end marker, which is never written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

inline constexpr std::string_view marcatore_fine = "riferimento fine del file";
inline constexpr std::size_t capacita_lista_righe = 1001;  // entries 0..1000, marker included

using lista_righe = std::vector<std::string>;

// The bytes of the file: every entry before the first one equal to the end
// marker, each followed by CR LF. Only the first 1001 entries are looked at.
std::string testo_lista(const lista_righe& righe);

}  // namespace scenario
