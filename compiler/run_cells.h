// Arithmetic shared by the steps that place run items (signals, slowdowns,
// stations, profiles, abbattimento points) in the route cells: the low-bit
// wraps of fixed-width fields, and positions turned into cell indexes.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

#include "state.h"

namespace scenario {

// The value a field of fixed width keeps of a wider result: its low bits.
// Results are computed in 64 bits, where they cannot overflow; taking the low
// bits afterwards equals computing in the field's own width.
namespace larghezza {
constexpr int16_t basso16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v))); }
constexpr uint8_t basso8(int64_t v) { return static_cast<uint8_t>(static_cast<uint64_t>(v)); }
constexpr int32_t basso32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }
}  // namespace larghezza

// The cell at the real index `indice`, rounded half to even, when that cell
// exists in `s.celle`.
inline std::optional<int32_t> cella_del_percorso(const stato_scenario& s, double indice) {
    const double r = std::nearbyint(indice);
    if (!(r >= 0.0) || r >= static_cast<double>(s.celle.size())) return std::nullopt;
    return static_cast<int32_t>(r);
}

// Route a positioned line needs after its position, and a station for its area.
inline constexpr int32_t margine_riga = 100;
inline constexpr int32_t margine_stazione = 800;

// The bound test of positioned lines: (posizione + margine) / 50, unrounded,
// lies beyond the last cell.
inline bool oltre_fine_percorso(const stato_scenario& s, int32_t posizione, int32_t margine) {
    return (static_cast<double>(posizione) + static_cast<double>(margine)) / 50.0 > static_cast<double>(s.n_celle);
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
