#include "tools/fit/metre_line.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace scenario::fit {

namespace {

// Coordinates beyond this are not metres on a local projection of the Earth.
constexpr double farthest_coordinate = 1e8;
constexpr double lowest_height = -1000, highest_height = 10000;

std::string at_point(std::size_t i) {
    return " at point " + std::to_string(i + 1);
}

// Draws heights[from..to] as a straight line between its two ends.
void level(std::vector<double>& h, int64_t from, int64_t to) {
    if (to <= from)
        return;
    const double a = h[static_cast<std::size_t>(from)], b = h[static_cast<std::size_t>(to)];
    for (int64_t m = from + 1; m < to; ++m)
        h[static_cast<std::size_t>(m)] =
            a + (b - a) * static_cast<double>(m - from) / static_cast<double>(to - from);
}

}  // namespace

result<metre_line> resample_by_metre(const line_input& in) {
    const std::vector<point>& p = in.points;
    if (p.size() < 2)
        return failure{"the line has fewer than two points"};
    const bool with_heights = !in.heights.empty();
    if (with_heights && in.heights.size() != p.size())
        return failure{"the line has " + std::to_string(p.size()) + " points but " +
                       std::to_string(in.heights.size()) + " heights"};
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (!std::isfinite(p[i].x) || !std::isfinite(p[i].y))
            return failure{"a coordinate is not a number" + at_point(i)};
        if (std::abs(p[i].x) > farthest_coordinate || std::abs(p[i].y) > farthest_coordinate)
            return failure{"a coordinate lies farther than 100,000 km from the projection's centre" +
                           at_point(i)};
        if (with_heights && !std::isfinite(in.heights[i]))
            return failure{"a height is not a number" + at_point(i)};
        if (with_heights && (in.heights[i] < lowest_height || in.heights[i] > highest_height))
            return failure{"a height of " + std::to_string(in.heights[i]) + " m is not on the Earth" +
                           at_point(i)};
    }
    // Metres along the line at each point.
    std::vector<double> along(p.size(), 0.0);
    for (std::size_t i = 1; i < p.size(); ++i)
        along[i] = along[i - 1] + std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y);
    metre_line out;
    out.length = along.back();
    {
        std::vector<double> gaps;
        gaps.reserve(p.size() - 1);
        for (std::size_t i = 1; i < p.size(); ++i)
            if (along[i] > along[i - 1])
                gaps.push_back(along[i] - along[i - 1]);
        if (!gaps.empty()) {
            auto mid = gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2);
            std::nth_element(gaps.begin(), mid, gaps.end());
            out.median_spacing = *mid;
        }
    }
    if (out.length > static_cast<double>(longest_route))
        return failure{"the line is " + std::to_string(std::llround(out.length)) +
                       " m long; the line description holds at most 1,000,000 m"};
    out.route_length = static_cast<int64_t>(std::nearbyint(out.length));
    if (out.route_length < shortest_route)
        return failure{"the line is " + std::to_string(out.length) + " m long; a route needs at least " +
                       std::to_string(shortest_route) + " m"};

    const auto n = static_cast<std::size_t>(out.route_length) + 1;
    out.points.resize(n);
    if (with_heights)
        out.heights.resize(n);
    std::size_t seg = 1;
    for (std::size_t m = 0; m < n; ++m) {
        const double s = std::min(static_cast<double>(m), out.length);
        while (seg + 1 < p.size() && along[seg] < s)
            ++seg;
        const double a = along[seg - 1], b = along[seg];
        const double f = b > a ? std::clamp((s - a) / (b - a), 0.0, 1.0) : 1.0;
        out.points[m] = {p[seg - 1].x + f * (p[seg].x - p[seg - 1].x),
                         p[seg - 1].y + f * (p[seg].y - p[seg - 1].y)};
        if (with_heights)
            out.heights[m] = in.heights[seg - 1] + f * (in.heights[seg] - in.heights[seg - 1]);
    }
    if (with_heights) {
        for (const span& sp : in.level_spans) {
            if (!std::isfinite(sp.from) || !std::isfinite(sp.to))
                continue;
            const double lo = std::clamp(std::min(sp.from, sp.to), 0.0, static_cast<double>(n - 1));
            const double hi = std::clamp(std::max(sp.from, sp.to), 0.0, static_cast<double>(n - 1));
            level(out.heights, static_cast<int64_t>(std::floor(lo)), static_cast<int64_t>(std::ceil(hi)));
        }
    }
    return out;
}

}  // namespace scenario::fit
