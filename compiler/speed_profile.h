// The permitted speed along a compiled route: the line's limits as the cells
// hold them, lowered over each slowdown to its speed; and the maximum-speed
// boards with their values, which leave the permitted speed as it is (the
// sources do not say which of a board's speeds applies to the train).
#pragma once

#include "compiler/compile_log.h"
#include "compiler/state.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace scenario::route {

// A stretch of route with one permitted speed.
struct speed_stretch {
    int64_t from = 0, to = 0;  // metres
    int speed_kmh = 0;         // permitted
    int line_kmh = 0;          // the line's limit, before any slowdown
    // The slowdown that lowers it (an index into `slowdowns(celle)`).
    std::optional<std::size_t> slowdown;
    std::size_t first_cell = 0;
    // The speed-limit line behind the line's limit (not known without a log,
    // or for cells filled before any line).
    source_place line{};
};

// The stretches over the first `length` metres, in order, adjacent ones
// merged when speed, limit, slowdown and line are the same.
std::vector<speed_stretch> permitted_speed(const std::vector<cella>& celle, int64_t length,
                                           const compile_log* log = nullptr);

// Seconds to run from `from` to `to` metres at the permitted speed
// everywhere; none when a stretch between has no speed above 0.
std::optional<double> time_at_permitted_speed(const std::vector<speed_stretch>& stretches, int64_t from,
                                              int64_t to);

// A maximum-speed board. Its values in line order: vas, vbs, vcs, strisces,
// vad, vbd, vcd, strisced.
struct speed_board {
    std::size_t cell = 0;
    int64_t position = 0;
    std::array<int32_t, 8> values{};
    // true: the values as written on its line (from the log); false: worked
    // back from the cell, where speeds a, b and c keep 20 times the first of
    // each pair plus a fifth of the second.
    bool as_written = false;
};
std::vector<speed_board> speed_boards(const std::vector<cella>& celle, const compile_log* log = nullptr);

}  // namespace scenario::route
