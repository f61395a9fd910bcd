// What a hover over a field shows.
#pragma once

#include "tools/report/memory_compile.h"

#include <nlohmann/json.hpp>

namespace scenario::tool::lsp {

// An LSP Hover for the field at a 0-based line and byte column of `file`, or null.
nlohmann::json hover_at(const compiled_sources& pair, sorgente_testo file, int line, int byte_column);

}  // namespace scenario::tool::lsp
