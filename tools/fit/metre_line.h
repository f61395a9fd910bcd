// The line as the fit works on it: checked, then resampled at every whole
// metre along its length, with its heights at the same metres.
#pragma once

#include "common/result.h"
#include "tools/fit/line_input.h"

#include <cstdint>
#include <vector>

namespace scenario::fit {

// The longest route the line description holds, metres.
inline constexpr int64_t longest_route = 1000000;
// The shortest route a draft is made for: room for a station and a signal.
inline constexpr int64_t shortest_route = 100;

struct metre_line {
    double length = 0;            // the line's own length, metres
    double median_spacing = 0;    // metres between the input's points (the median)
    double noise = 0;             // metres: the estimated scatter of the points across the line
    int64_t smoothed = 0;         // metres each side over which the points were averaged (0: not)
    int64_t route_length = 0;     // whole metres
    std::vector<point> points;    // points[m]: m metres along the line, m = 0..route_length
    std::vector<double> heights;  // heights[m], level spans drawn straight; empty: no heights
};

// Checks the input (finite values, one height per point, a length the
// format holds) and resamples it; the error says what is wrong. A line whose
// points scatter (a GPS track) is first averaged over a stretch that grows
// with the scatter, so that its length is the track's, not the scatter's.
result<metre_line> resample_by_metre(const line_input& input);

// The scatter of points a metre apart across their line, metres: from the
// bow of 20 m chords over each fifth point, its median as a normal deviation's.
double scatter(const std::vector<point>& p);

// The median of the values (the upper middle one of an even count); 0 for none.
double median_of(std::vector<double> v);

}  // namespace scenario::fit
