// The outline of a source for the editor: its sections, and in them every
// line a reader acted on (stations, signals, slowdowns, tunnels, boards,
// profiles, settings), named from the compiled route.
#pragma once

#include "compiler/state.h"
#include "tools/report/memory_compile.h"

#include <nlohmann/json.hpp>

namespace scenario::tool::lsp {

// DocumentSymbol[] (name, detail, kind, range, selectionRange, children) of `file`.
nlohmann::json document_symbols(const compiled_sources& pair, sorgente_testo file);

}  // namespace scenario::tool::lsp
