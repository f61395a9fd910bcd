// The page's Documents panel: the three driver's documents as `scenario
// package` would write them from the compiled sources and the details file.
#pragma once

#include "tools/view/view_model.h"

#include <filesystem>

namespace scenario::view {

// {"card", "order", "notes"} as UTF-8 text, one line per "\n", or {"error"}
// when the sources hold errors or the details file is wrong. The details
// file is NAME_NUMBER_documenti.json in `directory`, when it exists.
json documents_json(const compiled_view& v, const std::filesystem::path& directory);

}  // namespace scenario::view
