// The outline of a source: its sections and what they hold.
#pragma once

#include "tools/report/memory_compile.h"

#include <nlohmann/json.hpp>

namespace scenario::tool::lsp {

// DocumentSymbol[] of `file` (ranges in byte columns, equal to UTF-16 columns).
nlohmann::json document_symbols(const compiled_sources& pair, sorgente_testo file);

}  // namespace scenario::tool::lsp
