// The outline of a source for the editor: its sections, and in them every
// line a reader acted on (stations, signals, slowdowns, tunnels, boards,
// profiles, settings), named from the compiled route.
#pragma once

#include "compiler/state.h"
#include "tools/core/memory_compile.h"
#include "tools/lsp/methods.h"

#include <nlohmann/json.hpp>

namespace scenario::tool::lsp {

// DocumentSymbol[] (name, detail, kind, range, selectionRange, children) of `file`.
nlohmann::json document_symbols(const compiled_sources& pair, sorgente_testo file);

// textDocument/documentSymbol: the outline, or none.
nlohmann::json answer_document_symbols(const document_request& r);

}  // namespace scenario::tool::lsp
