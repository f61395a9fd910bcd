// The fields of a compiled cell and record as JSON, under the program's own
// field names and in their stored order, and JSON as text, for `dump` and the
// page alike.
#pragma once

#include "compiler/state.h"

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>

namespace scenario::tool {

// {"tipo", "dato1", ... "aderenza"}.
nlohmann::ordered_json cell_fields_json(const cella& c);
// {"tipo", "valore1", ... "valore4"}; `testo` as UTF-8.
nlohmann::ordered_json record_fields_json(const voce& v);

// A cell and a record as `dump` shows them: the stored fields as above, each
// followed, where the compiler gives it a meaning, by its readable value
// (metres and km, km/h, per mille, time of day). `station`: the record is a
// station's.
nlohmann::ordered_json cell_dump_json(std::size_t index, const cella& c);
nlohmann::ordered_json record_dump_json(std::size_t index, const voce& v, bool station);

// JSON text on one line; a text that is not valid UTF-8 never stops it
// (U+FFFD stands in).
std::string json_text(const nlohmann::ordered_json& j);

}  // namespace scenario::tool
