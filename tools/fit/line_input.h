// What the fit takes: a line in metres on a local projection, its heights and
// the stretches (tunnels, bridges) whose ground heights are not the track's.
#pragma once

#include <vector>

namespace scenario::fit {

// Metres on a local projection: x east, y north.
struct point {
    double x = 0, y = 0;
};

// Metres along the line from its start.
struct span {
    double from = 0, to = 0;
};

struct line_input {
    std::vector<point> points;      // the joined line in route order; the first point is the route's start
    std::vector<double> heights;    // metres, one per point; empty: no heights (a flat line)
    std::vector<span> level_spans;  // tunnels and bridges: heights taken as a straight line between the
                                    // span's ends, not from the ground
};

struct fit_options {
    double height_rms = 2.0, height_max = 5.0;  // 0 and 0: keep every change of gradient
    double min_piece = 40.0;                    // metres; no curve piece shorter
};

}  // namespace scenario::fit
