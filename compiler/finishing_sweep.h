// The finishing sweep: one forward pass over the route cells that places
// marks (kind 12, value 180) in front of signals that stand behind a slowdown's
// advance point, and around every slowdown start.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/state.h"

namespace scenario {

// The smaller of the two values; `x` when they are equal.
template <class T>
T minimo(const T& x, const T& y) {
    return x > y ? y : x;
}

// Value a mark carries in `dato1`, and the most an existing kind-12 cell in
// front of a signal may keep.
inline constexpr int16_t valore_segno = 180;

// Runs the sweep over `s.celle` in place. Cells that hold something are never
// overwritten; errors 11, 12 and 13 are recorded (and noted in `log`, with the line behind
// the item each concerns) and the sweep goes on. Does
// nothing when the route cells do not exist.
void rifinisci_percorso(stato_scenario& s, compile_log* log = nullptr);

}  // namespace scenario
