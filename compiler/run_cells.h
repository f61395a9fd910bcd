// Arithmetic shared by the steps that place run items (signals, slowdowns,
// stations, profiles, abbattimento points) in the route cells: the low-bit
// wraps of fixed-width fields, and positions turned into cell indexes.
#pragma once

#include "compiler/cell_rules.h"
#include "compiler/low_bits.h"
#include "compiler/state.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace scenario {

// The cell `indice` (from route::item_cell), when that cell exists in `s.celle`.
inline std::optional<int32_t> cella_del_percorso(const stato_scenario& s, int64_t indice) {
    if (indice < 0 || indice >= static_cast<int64_t>(s.celle.size()))
        return std::nullopt;
    return static_cast<int32_t>(indice);
}

// Route a positioned line needs after its position, and a station for its area.
inline constexpr int32_t margine_riga = 100;
inline constexpr int32_t margine_stazione = 800;

// The bound test of positioned lines: (posizione + margine) / 50, unrounded,
// lies beyond the last cell.
inline bool oltre_fine_percorso(const stato_scenario& s, int32_t posizione, int32_t margine) {
    return (static_cast<double>(posizione) + static_cast<double>(margine)) / 50.0 >
           static_cast<double>(s.n_celle);
}

// The last position the bound test accepts for `margine`.
inline int64_t ultima_posizione_accettata(const stato_scenario& s, int32_t margine) {
    return int64_t{s.n_celle} * 50 - margine;
}

// The route cells exist and agree with `n_celle` (indexes 0..n_celle).
inline bool celle_presenti(const stato_scenario& s) {
    return s.n_celle >= 0 && s.celle.size() == static_cast<std::size_t>(s.n_celle) + 1;
}

}  // namespace scenario
