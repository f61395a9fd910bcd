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

// Each point the mean of those within `half` metres either side (fewer at
// the ends, so the ends stay where they are).
std::vector<point> averaged(const std::vector<point>& p, int64_t half) {
    const auto n = static_cast<int64_t>(p.size());
    std::vector<double> sx(p.size() + 1, 0.0), sy(p.size() + 1, 0.0);
    for (std::size_t i = 0; i < p.size(); ++i) {
        sx[i + 1] = sx[i] + (p[i].x - p.front().x);
        sy[i + 1] = sy[i] + (p[i].y - p.front().y);
    }
    std::vector<point> out(p.size());
    for (int64_t m = 0; m < n; ++m) {
        const int64_t h = std::min({half, m, n - 1 - m});
        const auto lo = static_cast<std::size_t>(m - h), hi = static_cast<std::size_t>(m + h + 1);
        const auto count = static_cast<double>(hi - lo);
        out[static_cast<std::size_t>(m)] = {p.front().x + (sx[hi] - sx[lo]) / count,
                                            p.front().y + (sy[hi] - sy[lo]) / count};
    }
    return out;
}

// Arc lengths along a polyline.
std::vector<double> lengths_along(const std::vector<point>& p) {
    std::vector<double> along(p.size(), 0.0);
    for (std::size_t i = 1; i < p.size(); ++i)
        along[i] = along[i - 1] + std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y);
    return along;
}

// The points (and values) at every whole metre up to `last` along the polyline.
void at_every_metre(const std::vector<point>& p, const std::vector<double>& along,
                    const std::vector<double>* z, std::size_t n, std::vector<point>& points,
                    std::vector<double>* heights) {
    points.assign(n, point{});
    if (heights != nullptr)
        heights->assign(n, 0.0);
    std::size_t seg = 1;
    for (std::size_t m = 0; m < n; ++m) {
        const double s = std::min(static_cast<double>(m), along.back());
        while (seg + 1 < p.size() && along[seg] < s)
            ++seg;
        const double a = along[seg - 1], b = along[seg];
        const double f = b > a ? std::clamp((s - a) / (b - a), 0.0, 1.0) : 1.0;
        points[m] = {p[seg - 1].x + f * (p[seg].x - p[seg - 1].x),
                     p[seg - 1].y + f * (p[seg].y - p[seg - 1].y)};
        if (heights != nullptr)
            (*heights)[m] = (*z)[seg - 1] + f * ((*z)[seg] - (*z)[seg - 1]);
    }
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
    const std::vector<double> along = lengths_along(p);
    if (!(along.back() <= static_cast<double>(longest_route) * 2))
        return failure{"the line is longer than the line description holds (1,000,000 m)"};
    metre_line out;
    {
        std::vector<double> gaps;
        gaps.reserve(p.size() - 1);
        for (std::size_t i = 1; i < p.size(); ++i)
            if (along[i] > along[i - 1])
                gaps.push_back(along[i] - along[i - 1]);
        out.median_spacing = median_of(std::move(gaps));
    }
    // First at every metre of the line as given, for its scatter.
    std::vector<point> raw;
    at_every_metre(p, along, nullptr, static_cast<std::size_t>(std::floor(along.back())) + 1, raw, nullptr);
    out.noise = scatter(raw);
    std::vector<point> line = p;
    std::vector<double> line_along = along;
    std::vector<double> z = in.heights;
    if (out.noise > 0.3 && raw.size() > 2) {
        out.smoothed = std::clamp<int64_t>(static_cast<int64_t>(std::ceil(20 * out.noise)), 5, 100);
        line = averaged(raw, out.smoothed);
        line_along = lengths_along(line);
        if (with_heights) {
            std::vector<point> unused;
            std::vector<double> zr;
            at_every_metre(p, along, &in.heights, raw.size(), unused, &zr);
            z = std::move(zr);
        }
    }
    out.length = line_along.back();
    if (out.length > static_cast<double>(longest_route))
        return failure{"the line is " + std::to_string(std::llround(out.length)) +
                       " m long; the line description holds at most 1,000,000 m"};
    out.route_length = static_cast<int64_t>(std::nearbyint(out.length));
    if (out.route_length < shortest_route)
        return failure{"the line is " + std::to_string(out.length) + " m long; a route needs at least " +
                       std::to_string(shortest_route) + " m"};
    const auto n = static_cast<std::size_t>(out.route_length) + 1;
    at_every_metre(line, line_along, with_heights ? &z : nullptr, n, out.points,
                   with_heights ? &out.heights : nullptr);
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

double scatter(const std::vector<point>& p) {
    constexpr std::size_t d = 10;
    std::vector<double> bows;
    for (std::size_t m = d; m + d < p.size(); m += 5) {
        const point a = p[m - d], b = p[m], c = p[m + d];
        const double cx = c.x - a.x, cy = c.y - a.y;
        const double len = std::hypot(cx, cy);
        if (len <= 0)
            continue;
        const double ex = a.x + c.x - 2 * b.x, ey = a.y + c.y - 2 * b.y;
        bows.push_back(std::abs(ex * cy - ey * cx) / len);
    }
    return median_of(std::move(bows)) / (0.6745 * std::sqrt(6.0));
}

double median_of(std::vector<double> v) {
    if (v.empty())
        return 0;
    auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

}  // namespace scenario::fit
