// Positions along the route and the 50 m cells they stand for: the one rounding
// the readers place items with, and the one every view of the cells asks.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/state.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace scenario::route {

// The length of a cell of the route, in metres.
inline constexpr int64_t cell_length = 50;

// Whether a line of this kind stands for a cell by its first position: every
// positioned line but a curve (curves shape the plan only).
inline bool has_item_cell(line_item kind) {
    switch (kind) {
        case line_item::gradient:
        case line_item::tunnel:
        case line_item::speed_board:
        case line_item::tunnel_board:
        case line_item::speed_limit:
        case line_item::adhesion:
        case line_item::signal:
        case line_item::slowdown:
        case line_item::abbattimento:
        case line_item::station:
            return true;
        default:
            return false;
    }
}

// Whether a line of this kind stands in the cell after the one its position
// falls in: signals, boards, and the cells of a slowdown (start, end, advance).
inline bool stands_after_position(line_item kind) {
    return kind == line_item::signal || kind == line_item::speed_board || kind == line_item::tunnel_board ||
           kind == line_item::slowdown;
}

// The cell the position stands for, as the readers place it: p / 50 rounded
// halves to even, or p / 50 + 1 rounded for the kinds that stand after their
// position (the two differ at every half cell: 75 m is cell 2 for a signal,
// and cell 2 for a gradient too, while 125 m is cell 4 and cell 2). A
// station's stop cell comes from its area, not from here; its position stands
// for the cell it falls in. The index may lie outside the route's cells: the
// caller checks.
inline int64_t item_cell(line_item kind, int64_t position) {
    const double index = static_cast<double>(position) / static_cast<double>(cell_length);
    return static_cast<int64_t>(std::nearbyint(stands_after_position(kind) ? index + 1.0 : index));
}

// The last cell of a tunnel ending at `end`: end / 50 - 1, rounded.
inline int64_t tunnel_last_cell(int64_t end) {
    return static_cast<int64_t>(
        std::nearbyint(static_cast<double>(end) / static_cast<double>(cell_length) - 1.0));
}

// Whether a cell of this kind holds an item that stands in the cell after its
// position (a signal's or a board's own, a slowdown's start, end or advance
// cell), so that the position it stands for is `item_position`.
inline bool cell_after_position(uint8_t tipo) {
    switch (tipo) {
        case tipo_cella::segnale:
        case tipo_cella::fine_rallentamento:
        case tipo_cella::inizio_rallentamento:
        case tipo_cella::avviso_rallentamento:
        case tipo_cella::indicatore_vmax:
        case tipo_cella::cartello_galleria:
            return true;
        default:
            return false;
    }
}

// An item placed in cell c after its position stands for the position 50 m
// before the cell.
inline int64_t item_position(std::size_t cell) {
    return (static_cast<int64_t>(cell) - 1) * cell_length;
}

// The stretch of route a cell covers, in metres: [from, to).
struct span {
    int64_t from = 0, to = 0;
};
inline span cell_span(int64_t cell) {
    return {cell * cell_length, cell * cell_length + cell_length};
}
// Cells first..last as one stretch.
inline span cells_span(int64_t first, int64_t last) {
    return {cell_span(first).from, cell_span(last).to};
}

// The cell whose stretch holds a metre along the route (the cell under a
// point of a drawing); negative metres give negative cells.
inline int64_t cell_at_metre(double metre) {
    return static_cast<int64_t>(std::floor(metre / static_cast<double>(cell_length)));
}

// The start of the cell nearest to a metre (halves to even): where a line
// meant to stand for that cell puts its position.
inline int64_t nearest_cell_start(double metre) {
    return static_cast<int64_t>(std::nearbyint(metre / static_cast<double>(cell_length))) * cell_length;
}

}  // namespace scenario::route
