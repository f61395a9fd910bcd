// The rules `scenario package` follows to write the driver's documents, and
// the keys of the author's details file, for `scenario format`.
#pragma once

#include <span>
#include <string_view>

namespace scenario::tool {

// The rules that derive the train card, the slow order and the notes.
std::span<const std::string_view> document_rules();

// The details file NAME_NUMBER_documenti.json: one line per key.
std::span<const std::string_view> details_keys();

}  // namespace scenario::tool
