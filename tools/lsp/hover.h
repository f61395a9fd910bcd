// What the editor shows over a field: a keyword's line in words, or a value's
// meaning, unit, width, how it was read and kept, and where a position lies.
#pragma once

#include "compiler/state.h"
#include "tools/core/memory_compile.h"
#include "tools/lsp/methods.h"

#include <nlohmann/json.hpp>

namespace scenario::tool::lsp {

// A hover ({contents: {kind: "markdown", value}, range}) for the field under
// the 0-based line and byte column of `file`, or null when there is none.
nlohmann::json hover_at(const compiled_sources& pair, sorgente_testo file, int line, int byte_column);

// textDocument/hover: a hover, or null.
nlohmann::json answer_hover(const document_request& r);

}  // namespace scenario::tool::lsp
