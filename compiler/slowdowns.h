// Slowdowns: a "rallentamento" line of the run description coded into its
// route cells: end, start, advance cell 1200 m before the start, and the four
// approach cells before the advance cell.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/state.h"

#include <cstdint>

namespace scenario {

// The six numbers of a "rallentamento" line, in their order on the line:
// start position (m), speed (km/h), length (m), and three values carried to
// the simulator (f_ta also asks for the approach cells).
struct rallentamento {
    int32_t x = 0;
    int32_t v = 0;
    int32_t l = 0;
    int32_t f_tt = 0;
    int32_t f_ta = 0;
    int32_t d_v = 0;
};

// Only a slowdown that starts more than this far along the route has an
// advance cell and approach cells.
inline constexpr int32_t inizio_minimo_avviso = 1500;

// Every cell the slowdown would write exists (start and end cells, and the
// advance and approach cells when it has them).
bool rallentamento_nel_percorso(const stato_scenario& s, const rallentamento& r);

// Codes the slowdown into its cells.
// Errors: 17 advance cell taken, 18 start cell taken, 19 end cell taken
// (nothing written); 20 an approach cell taken (end, start and advance cells
// already written); 15 when a cell lies outside the route (the caller tests
// that first; nothing written).
void memo_rallentamento(stato_scenario& s, const rallentamento& r, const log_at& at = {});

}  // namespace scenario
