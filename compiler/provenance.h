// Where what stands in a route cell came from: the source line that placed it.
// For diagnostics only; nothing of it reaches the compiled files.
#pragma once

#include "compiler/state.h"

#include <cstddef>
#include <cstdint>

namespace scenario {

// Every cell without a known origin, as many as there are cells.
inline void azzera_origini(stato_scenario& s) {
    s.origine_celle.assign(s.celle.size(), luogo_lettura{});
}

// What stands in cell `indice` was placed by the line `luogo`. Cells made
// without `azzera_origini` (a state built by hand) get their origins here.
inline void poni_origine(stato_scenario& s, std::size_t indice, const luogo_lettura& luogo) {
    if (s.origine_celle.size() != s.celle.size())
        s.origine_celle.resize(s.celle.size());
    if (indice < s.origine_celle.size())
        s.origine_celle[indice] = luogo;
}

// The line being read placed an item in cell `indice`.
inline void poni_origine(stato_scenario& s, std::size_t indice) {
    poni_origine(s, indice, s.lettura);
}

// The line that placed what stands in cell `indice`; not valid when unknown or
// when there is no such cell.
inline luogo_lettura origine_cella(const stato_scenario& s, int64_t indice) {
    if (indice < 0 || static_cast<uint64_t>(indice) >= s.origine_celle.size())
        return {};
    return s.origine_celle[static_cast<std::size_t>(indice)];
}

}  // namespace scenario
