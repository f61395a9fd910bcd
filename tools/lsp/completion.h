// What the editor offers where the author types: the keywords and headings
// valid at that place, each keyword with a snippet of its fields written as
// the program's own sources write them.
#pragma once

#include "compiler/state.h"
#include "tools/core/memory_compile.h"
#include "tools/lsp/methods.h"

#include <nlohmann/json.hpp>

namespace scenario::tool::lsp {

// CompletionItem[] for the 0-based line and byte column of `file`; empty in
// a value field.
nlohmann::json completions_at(const compiled_sources& pair, sorgente_testo file, int line, int byte_column);

// textDocument/completion: the items, or none.
nlohmann::json answer_completion(const document_request& r);

}  // namespace scenario::tool::lsp
