// Signals: a "segnale" line of the run description coded into its route cell,
// with the approach markers in the cells 100, 200, 300 and 400 m before it.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/state.h"

#include <cstdint>

namespace scenario {

// The eleven numbers of a "segnale" line, in their order on the line.
struct segnale {
    int32_t posizione = 0;
    int32_t sx = 0;
    int32_t s1 = 0;
    int32_t s2 = 0;
    int32_t s3 = 0;
    int32_t rapp = 0;
    int32_t dx = 0;
    int32_t d1 = 0;
    int32_t d2 = 0;
    int32_t d3 = 0;
    int32_t tempo = 0;
};

// The signal's cell exists: the cell after the one holding `posizione`.
bool segnale_nel_percorso(const stato_scenario& s, int32_t posizione);

// Codes the signal into the cell after its position: kind 1, the packed values
// in dato1..dato4, the time in dato5 (for sx = 2), the approach markers in the
// dato6 of the four cells at 2, 4, 6 and 8 cells before it. Raises g.tempo from
// 1..100 to 101.
// Errors: 16 when the cell is taken (nothing written); 15 when the cell lies
// outside the route (the caller tests that first; nothing written).
void memo_segnale(stato_scenario& s, segnale& g, const log_at& at = {});

}  // namespace scenario
