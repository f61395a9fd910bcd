// Fixes for the warnings whose fix is certain: a keyword typo replaced by
// the nearest keyword, a missing comma inserted, a byte-order mark removed.
// Nothing that would guess a value.
#pragma once

#include "tools/core/memory_compile.h"
#include "tools/lsp/methods.h"

#include <nlohmann/json.hpp>
#include <string>

namespace scenario::tool::lsp {

// The quick fixes of source `s` (published as `uri`) whose field touches
// the lines of the LSP Range `range`, as CodeAction[].
nlohmann::json code_actions(const compiled_sources& c, sorgente_testo s, const std::string& uri,
                            const nlohmann::json& range);

// textDocument/codeAction: the quick fixes in the asked range, or none.
nlohmann::json answer_code_actions(const document_request& r);

}  // namespace scenario::tool::lsp
