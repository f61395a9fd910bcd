// The line's heights as gradient lines: stretches of constant whole per
// mille, 50 m cells each, as few as keep the heights within the tolerance.
#pragma once

#include "tools/fit/fit_line.h"

#include <cstdint>
#include <vector>

namespace scenario::fit {

inline constexpr int lowest_gradient = -100, highest_gradient = 155;  // what a cell's byte holds

// The heights every 50 m from the heights at every metre (the last one at
// the route's end or past it): each the mean over its 50 m when `smooth`,
// else the height at that metre.
std::vector<double> heights_every_cell(const std::vector<double>& per_metre, int64_t route_length,
                                       bool smooth);

struct gradient_fit {
    std::vector<gradient_line> lines;
    std::vector<double> profile;  // the compiled heights at the same 50 m points
};

// Gradient lines for heights at 0, 50, 100 ... metres. With `rms` and `max`
// both 0 every change of gradient is kept.
gradient_fit fit_gradients(const std::vector<double>& heights, double rms, double max);

}  // namespace scenario::fit
