// The line's bends as curve lines: each bend's turning angle and its place
// kept with arcs of the six classes, straight wherever the heading holds.
#pragma once

#include "tools/fit/fit_line.h"
#include "tools/fit/metre_line.h"

#include <vector>

namespace scenario::fit {

struct curve_fit {
    double start_heading = 0;     // radians clockwise from +y: the route's first heading on the line
    std::vector<double> heading;  // heading[m], m = 1..route length: the line's heading over metre m,
                                  // smoothed, relative to start_heading (heading[0] = heading[1])
    std::vector<curve_line> curves;
    std::vector<bend_report> bends;
    bool exact = false;  // the line turns by the classes' own steps: its runs are taken as they are
    int smoothing = 0;   // metres each side of a point over which its heading was taken
};

curve_fit fit_curves(const metre_line& line, double min_piece);

}  // namespace scenario::fit
