#include "tools/render/label_placement.h"

#include <algorithm>
#include <cmath>

namespace scenario::tool {

double label_width(std::size_t characters, double font_size) {
    return monospace_advance * font_size * static_cast<double>(std::max<std::size_t>(characters, 1)) + 2;
}

double label_height(double font_size) {
    return font_size * 1.25;
}

namespace {

bool inside(const box& b, const box& frame) {
    return b.x0 >= frame.x0 && b.x1 <= frame.x1 && b.y0 >= frame.y0 && b.y1 <= frame.y1;
}

// The box moved the least that lies inside the frame (when it fits at all).
box shifted_inside(box b, const box& frame) {
    const double dx = b.x0 < frame.x0 ? frame.x0 - b.x0 : b.x1 > frame.x1 ? frame.x1 - b.x1 : 0;
    const double dy = b.y0 < frame.y0 ? frame.y0 - b.y0 : b.y1 > frame.y1 ? frame.y1 - b.y1 : 0;
    return {b.x0 + dx, b.y0 + dy, b.x1 + dx, b.y1 + dy};
}

double overlap(const box& a, const box& b) {
    const double w = std::min(a.x1, b.x1) - std::max(a.x0, b.x0);
    const double h = std::min(a.y1, b.y1) - std::max(a.y0, b.y0);
    return w > 0 && h > 0 ? w * h : 0;
}

}  // namespace

std::vector<placed_label> place_labels(const box& frame, const std::vector<box>& marks,
                                       const std::vector<label_request>& requests) {
    std::vector<box> taken = marks;
    std::vector<placed_label> out;
    out.reserve(requests.size());
    for (const label_request& r : requests) {
        const double w = label_width(r.characters, r.font_size);
        const double h = label_height(r.font_size);
        const double x = r.at.x, y = r.at.y;
        std::vector<box> candidates = {
            {x + 8, y - h / 2, x + 8 + w, y + h / 2},
            {x - 8 - w, y - h / 2, x - 8, y + h / 2},
            {x - w / 2, y - 8 - h, x + w / 2, y - 8},
            {x - w / 2, y + 8, x + w / 2, y + 8 + h},
        };
        if (r.required) {
            // Farther away, in rows above and below, first centred on the
            // point then to either side; each moved inside the frame.
            const double rows = std::ceil((frame.y1 - frame.y0) / (h + 2));
            for (int k = 1; k <= rows; ++k)
                for (int side : {-1, 1}) {
                    const double y0 = side < 0 ? y - 8 - h - k * (h + 2) : y + 8 + k * (h + 2);
                    for (double dx : {-w / 2, 8.0, -w - 8})
                        candidates.push_back({x + dx, y0, x + dx + w, y0 + h});
                }
            for (box& c : candidates)
                c = shifted_inside(c, frame);
        }
        placed_label p;
        double least = -1;
        std::size_t chosen = 0;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            const box& c = candidates[i];
            if (!inside(c, frame))
                continue;
            double sum = 0;
            for (const box& t : taken)
                sum += overlap(c, t);
            if (least < 0 || sum < least) {
                least = sum;
                chosen = i;
            }
            if (sum == 0)
                break;
        }
        if (least == 0 || (r.required && least > 0)) {
            const box& c = candidates[chosen];
            p.drawn = true;
            p.area = c;
            p.x = c.x0 + 1;
            p.baseline = c.y0 + r.font_size;
            // Away from the point when the box is not beside it.
            const double gap_x = std::max({c.x0 - x, x - c.x1, 0.0});
            const double gap_y = std::max({c.y0 - y, y - c.y1, 0.0});
            p.leader = gap_x > 12 || gap_y > 12;
            taken.push_back(c);
        }
        out.push_back(p);
    }
    return out;
}

}  // namespace scenario::tool
