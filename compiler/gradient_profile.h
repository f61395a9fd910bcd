// The route's heights and gradients from its cells, ending exactly where the
// route ends: the one walk the drawings, the page and the documents share.
#pragma once

#include "compiler/state.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace scenario::route {

// A stretch of adjacent cells of one gradient, in metres.
struct gradient_stretch {
    int64_t from = 0;
    int64_t to = 0;
    int per_mille = 0;
};

struct gradient_profile {
    // Metres along and the height there relative to the start: the start, then
    // the end of every cell up to the route's end (the last cell cut there).
    std::vector<std::pair<int64_t, double>> heights;
    std::vector<gradient_stretch> gradients;  // in order, adjacent cells of one gradient joined
    double low = 0, high = 0;                 // the lowest and highest heights
};

// The height a gradient of `per_mille` gains over `metres`.
inline double climb(int per_mille, int64_t metres) {
    return per_mille * static_cast<double>(metres) / 1000.0;
}

// The profile of the first `length` metres of the cells.
gradient_profile profile_of(const std::vector<cella>& celle, int64_t length);

}  // namespace scenario::route
