#include "tools/render/plan_geometry.h"

#include "compiler/route_facts.h"

#include <algorithm>
#include <cmath>

namespace scenario::tool {

plan_projection::plan_projection(const tracciato_linea* tracciato, int64_t route_length) {
    if (tracciato != nullptr && tracciato->esiste()) {
        tracciato_ = tracciato;
        last_ = std::max<int64_t>(0, route::last_plan_point(*tracciato));
    }
    length_ = route_length;
    if (with_plan())
        length_ = std::min(length_, last_);
    length_ = std::max<int64_t>(length_, 1);
    step_ = std::max<int64_t>(1, length_ / static_cast<int64_t>(page::max_line_points));

    const point a = raw_in_metres(0);
    const point b = raw_in_metres(length_);
    const double angle = (b.x != a.x || b.y != a.y) ? std::atan2(b.y - a.y, b.x - a.x) : 0.0;
    cosine_ = std::cos(angle);
    sine_ = std::sin(angle);
    double min_x = 1e300, max_x = -1e300, min_y = 1e300, max_y = -1e300;
    for (int64_t m = 0;; m = std::min(m + step_, length_)) {
        const point p = in_metres(m);
        min_x = std::min(min_x, p.x);
        max_x = std::max(max_x, p.x);
        min_y = std::min(min_y, p.y);
        max_y = std::max(max_y, p.y);
        if (m == length_)
            break;
    }
    const double w = std::max(max_x - min_x, 1.0);
    const double h = std::max(max_y - min_y, 1.0);
    scale_ = std::min(page::usable / w, page::max_plan_height / h);
    height_ = std::max(h * scale_, 40.0);
    min_x_ = min_x;
    max_y_ = max_y;
    origin_x_ = page::margin + (page::usable - w * scale_) / 2;
    origin_y_ = page::plan_top + (height_ - h * scale_) / 2;
}

point plan_projection::raw_in_metres(int64_t m) const {
    if (!with_plan())
        return {static_cast<double>(m), 0.0};
    const int32_t p = static_cast<int32_t>(std::clamp<int64_t>(m, 0, last_));
    return {tracciato_->at(p, 0).numero(), tracciato_->at(p, 1).numero()};
}

point plan_projection::in_metres(int64_t m) const {
    const point p = raw_in_metres(m);
    return {cosine_ * p.x + sine_ * p.y, -sine_ * p.x + cosine_ * p.y};
}

point plan_projection::on_screen(int64_t metres) const {
    const point p = in_metres(metres);
    return {origin_x_ + (p.x - min_x_) * scale_, origin_y_ + (max_y_ - p.y) * scale_};
}

std::vector<point> plan_projection::line_between(int64_t from, int64_t to) const {
    from = std::clamp<int64_t>(from, 0, length_);
    to = std::clamp<int64_t>(to, 0, length_);
    std::vector<point> points;
    const int64_t step = std::max<int64_t>(1, std::min(step_, (to - from) / 8 + 1));
    for (int64_t m = from;; m = std::min(m + step, to)) {
        points.push_back(on_screen(m));
        if (m >= to)
            break;
    }
    return points;
}

std::size_t characters_in(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

profile_shape profile_of(const std::vector<cella>& celle, int64_t length) {
    profile_shape s{route::profile_of(celle, length), 0, 0};
    s.low = s.profile.low;
    s.high = s.profile.high;
    if (s.high - s.low < 10) {
        const double centre = (s.high + s.low) / 2;
        s.low = centre - 5;
        s.high = centre + 5;
    }
    return s;
}

profile_scale::profile_scale(double top, int64_t length, double low, double high)
    : top_(top), length_(length), low_(low), high_(high) {}

double profile_scale::x_of(double metres) const {
    return page::margin + page::usable * metres / static_cast<double>(length_);
}

double profile_scale::y_of(double elevation) const {
    const double curve_top = top_ + 28;  // room for the station names above the curve
    return bottom() - (elevation - low_) / (high_ - low_) * (bottom() - curve_top - 4) - 2;
}

int name_rows::row_for(double x0, double width) {
    int row = page::profile_name_rows - 1;
    for (int r = page::profile_name_rows - 1; r >= 0; --r) {
        if (row_end_[static_cast<std::size_t>(r)] + 14 < x0) {
            row = r;
            break;
        }
    }
    row_end_[static_cast<std::size_t>(row)] = x0 + width;
    return row;
}

int64_t distance_step_km(int64_t length) {
    int64_t step = 1;
    for (int64_t candidate : {1, 2, 5, 10, 20, 50, 100, 200, 500}) {
        step = candidate;
        if (length / (candidate * 1000) <= 20)
            break;
    }
    return step;
}

}  // namespace scenario::tool
