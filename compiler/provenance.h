// Where what stands in a route cell or a record came from: the source line
// that placed it. Kept in the compile log; nothing of it reaches the files.
#pragma once

#include "compiler/compile_log.h"

#include <cstddef>
#include <cstdint>

namespace scenario {

// Every cell without a known origin, one per cell.
inline void reset_cell_origins(compile_log* log, std::size_t cells) {
    if (log != nullptr)
        log->cell_origins.assign(cells, source_place{});
}

// What stands in cell `cell` (of `cells`) was placed by the line `place`.
// Origins not yet sized with the cells (a state built by hand) are sized here.
inline void note_cell_origin(compile_log* log, std::size_t cells, std::size_t cell,
                             const source_place& place) {
    if (log == nullptr)
        return;
    if (log->cell_origins.size() != cells)
        log->cell_origins.resize(cells);
    if (cell < log->cell_origins.size())
        log->cell_origins[cell] = place;
}

// The line being read placed an item in cell `cell` of `s`.
inline void note_cell_origin(const stato_scenario& s, const log_at& at, std::size_t cell) {
    note_cell_origin(at.log, s.celle.size(), cell, at.place);
}

// The record `slot` of `voci` was read from the line being read.
inline void note_record_origin(const log_at& at, std::size_t slot) {
    if (at.log != nullptr && slot < at.log->record_origins.size())
        at.log->record_origins[slot] = at.place;
}

// The line that placed what stands in cell `cell`; not known when there is
// no log, no such cell or no such line.
inline source_place cell_origin(const compile_log* log, int64_t cell) {
    if (log == nullptr || cell < 0 || static_cast<uint64_t>(cell) >= log->cell_origins.size())
        return {};
    return log->cell_origins[static_cast<std::size_t>(cell)];
}

}  // namespace scenario
