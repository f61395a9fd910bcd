// The keyword nearest to a keyword field that matched none, for a "did you
// mean" beside the warning: the closest spelling of the rows' keywords by
// edit distance, when it is close enough to be the word that was meant.
#pragma once

#include "compiler/keywords.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace scenario {

// Edits (insert, delete, replace, swap of two neighbours) that turn `a` into `b`.
std::size_t edit_distance(std::string_view a, std::string_view b);

// The writers' spelling (or, for a keyword they never write, its test word)
// of `rows` nearest to `field`, compared in lower case without outer blanks
// or a trailing number; none when the nearest is more than about a quarter
// of the field's letters away, or when the field already is a spelling.
std::optional<std::string_view> nearest_keyword(std::string_view field, std::span<const keyword_row> rows);

}  // namespace scenario
