// Where the recorded fields of one source stand, for the editor features: the
// field under a place, the line a value belongs to, the row a keyword field
// was read as, the headings, and a field's place as an editor range.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/keywords.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace scenario::tool::lsp {

// An editor position (0-based line, 0-based character); a character of the
// sources is one byte, so the byte column is the character.
nlohmann::json position_json(int32_t line, int32_t character);
// The range of one field, and of the fields from `first` to `last`.
nlohmann::json field_range(const field_record& f);
nlohmann::json fields_range(const field_record& first, const field_record& last);

// The field of `source` under the 0-based line and byte column (a place just
// after a field's last byte counts as in it); -1 when none.
int32_t field_at(const compile_log& log, sorgente_testo source, int line, int byte_column);

// The keyword field of the line a field belongs to: the field itself for a
// keyword field, the nearest keyword field before it otherwise; -1 when none.
int32_t keyword_field_of(const compile_log& log, int32_t field);

// The first row the readers read a keyword field as; null when none did.
const keyword_row* row_read(const compile_log& log, int32_t keyword_field);

// The headings of a source ("[generale]", "[curve]" ...) that no row read, in
// file order, as indexes of their fields.
std::vector<int32_t> headings(const compile_log& log, sorgente_testo source);

}  // namespace scenario::tool::lsp
