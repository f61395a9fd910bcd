// The keywords and section headers valid at a place of a source.
#pragma once

#include "tools/report/memory_compile.h"

#include <nlohmann/json.hpp>

namespace scenario::tool::lsp {

// CompletionItem[] for a 0-based line and byte column of `file`.
nlohmann::json completions_at(const compiled_sources& pair, sorgente_testo file, int line, int byte_column);

}  // namespace scenario::tool::lsp
