// Where the parts of the plan drawing lie on the page: the page's layout, the
// track plan turned and scaled to fit, its line thinned, and the scales and name rows of the gradient
// profile.
#pragma once

#include "compiler/gradient_profile.h"
#include "compiler/state.h"
#include "tools/render/svg_writer.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario::tool {

// A wide page: the heading, the plan under it, the gradient profile at the
// bottom.
namespace page {
constexpr double width = 1400;
constexpr double margin = 50;
constexpr double usable = width - 2 * margin;
constexpr double plan_top = 96;
constexpr double max_plan_height = 520;
constexpr double profile_height = 230;
constexpr int profile_name_rows = 4;           // rows of station names above the profile
constexpr std::size_t max_line_points = 4000;  // a drawn line is thinned to about this many points
}  // namespace page

using svg::point;

struct box {
    double x0, y0, x1, y1;
    bool touches(const box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

// The track plan on the page. The plan has no north: it is turned so that the
// line runs from left to right, which suits a wide page best, then scaled to
// the page's width and the plan's greatest height.
class plan_projection {
public:
    // `tracciato`: null draws the line straight. The line drawn is
    // `route_length` metres long, and no longer than the plan.
    plan_projection(const tracciato_linea* tracciato, int64_t route_length);

    bool with_plan() const { return tracciato_ != nullptr; }
    int64_t length() const { return length_; }  // metres of line drawn, at least 1
    double height() const { return height_; }   // of the plan on the page
    point on_screen(int64_t metres) const;
    // The line from `from` to `to` metres (kept within the line drawn),
    // thinned to about `page::max_line_points` points over the whole line.
    std::vector<point> line_between(int64_t from, int64_t to) const;

private:
    point raw_in_metres(int64_t m) const;
    point in_metres(int64_t m) const;

    const tracciato_linea* tracciato_ = nullptr;
    int64_t last_ = 0;              // last plan point that holds a value
    int64_t length_ = 1;            // metres of line drawn
    int64_t step_ = 1;              // metres between drawn points
    double cosine_ = 1, sine_ = 0;  // the turn
    double scale_ = 1, min_x_ = 0, max_y_ = 0, origin_x_ = 0, origin_y_ = 0, height_ = 40;
};

// The number of characters (not bytes) of a UTF-8 text.
std::size_t characters_in(std::string_view utf8);

// The gradient profile of the first `length` metres of the cells as drawn:
// the route's heights and gradients (compiler/gradient_profile.h) and the band
// of heights the drawing spans, at least 10 m.
struct profile_shape {
    route::gradient_profile profile;
    double low = 0, high = 0;
};
profile_shape profile_of(const std::vector<cella>& celle, int64_t length);

// Metres along the route and elevations to the page, inside the profile's
// frame whose top is `top`; the curve keeps room above it for names.
class profile_scale {
public:
    profile_scale(double top, int64_t length, double low, double high);
    double x_of(double metres) const;
    double y_of(double elevation) const;
    double top() const { return top_; }
    double bottom() const { return top_ + page::profile_height; }

private:
    double top_;
    int64_t length_;
    double low_, high_;
};

// Rows of station names above the profile: a name goes in the row nearest
// the profile where it starts 14 px after the end of the row's last name, and
// in that nearest row when no row is free.
class name_rows {
public:
    int row_for(double x0, double width);

private:
    std::vector<double> row_end_ = std::vector<double>(page::profile_name_rows, -1e300);
};

// The step of the distance scale in km: the first of 1, 2, 5, 10, ... 500
// that gives at most 20 steps.
int64_t distance_step_km(int64_t length);

}  // namespace scenario::tool
