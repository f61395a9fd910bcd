// Where a line's position lies on the compiled route, in words: km from the
// route's start, the cell, and what that cell holds after the compile.
#pragma once

#include "compiler/keywords.h"
#include "tools/core/memory_compile.h"

#include <cstdint>
#include <optional>
#include <string>

namespace scenario::tool::lsp {

// Whether value `index` of `row` is a position on the route (metres from its start).
bool is_position(const keyword_row& row, std::size_t index);

// The cell the line at `keyword_field` placed an item in (a signal, a stop, a
// board ...), as the compile's cell origins say; none for lines that place no item.
std::optional<std::size_t> item_cell(const compiled_sources& pair, int32_t keyword_field);

// "km 3.650, cell 74: a signal (limit 80 km/h, gradient 24 per mille)".
std::string place_words(const compiled_sources& pair, int32_t keyword_field, const keyword_row& row,
                        std::size_t index, int64_t metres);

// What cell `index` holds after the compile, in words.
std::string cell_words(const compiled_sources& pair, std::size_t index);

}  // namespace scenario::tool::lsp
