// The fit: a line's bends as arcs of the format's six curvature classes and
// its heights as whole per-mille gradients, judged on the plan the compiler
// draws from them.
#pragma once

#include "common/result.h"
#include "tools/fit/line_input.h"

#include <cstdint>
#include <vector>

namespace scenario::fit {

// A curve line: `length` metres from `start` turning by class 1..6
// (left: towards -x of the plan).
struct curve_line {
    int64_t start = 0, length = 0;
    int curve_class = 1;
    bool left = false;
};

// A gradient line: from `position` (a multiple of 50) on, `per_mille`.
struct gradient_line {
    int64_t position = 0;
    int per_mille = 0;
};

struct bend_report {
    double line_radius = 0;       // metres: the line's turning angle over its length
    double line_angle_deg = 0;    // the line's turning angle, positive towards +x
    double fitted_angle_deg = 0;  // the angle the chosen pieces turn
    std::vector<curve_line> pieces;
    bool sharper_than_class6 = false;  // kept its angle over a longer stretch
    double from = 0, to = 0;           // metres along the route
};

struct fit_report {
    double line_length = 0, route_length = 0;
    double start_heading_deg = 0;  // the route's first heading on the map, clockwise from +y (north)
    std::vector<bend_report> bends;
    double heading_error_max_deg = 0, heading_error_at = 0;   // outside and inside bends, where
    double heading_error_straight_max_deg = 0;                // outside bends only
    double lateral_max = 0, lateral_rms = 0, lateral_at = 0;  // fitted route (1 m per metre) against the line
    double height_rms = 0, height_max = 0, height_at = 0;
    double compiler_stretch = 1;  // the compiled plan's length over the route's
};

struct fitted_line {
    int64_t length = 0;  // whole metres
    std::vector<curve_line> curves;
    std::vector<gradient_line> gradients;
    std::vector<double> heights_along;  // the smoothed heights every 50 m (for the report)
    fit_report report;
};

// Fits the line; fails on a line the format cannot hold (fewer than two
// points, values that are not finite, longer than 1,000,000 m).
result<fitted_line> fit_line(const line_input& input, const fit_options& options);

}  // namespace scenario::fit
