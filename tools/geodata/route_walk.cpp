// Walking the compiled plan at unit steps, and laying it on the Earth's plane.
#include "tools/geodata/route_walk.h"

#include "compiler/route_facts.h"

#include <algorithm>
#include <cmath>

namespace scenario::geodata {

std::vector<xy> walk_route(const tracciato_linea& plan, int64_t length) {
    std::vector<xy> out;
    out.reserve(std::size_t(std::max<int64_t>(length, 0)) + 1);
    out.push_back(xy{0, 0});
    const int64_t last = plan.esiste() && !plan.valori.empty() ? route::last_plan_point(plan) : -1;
    double dx = 0, dy = 1;
    for (int64_t k = 0; k < length; ++k) {
        if (k + 1 <= last) {
            const double ex = plan.at(int32_t(k + 1), 0).numero() - plan.at(int32_t(k), 0).numero();
            const double ey = plan.at(int32_t(k + 1), 1).numero() - plan.at(int32_t(k), 1).numero();
            const double n = std::hypot(ex, ey);
            if (n > 0) {
                dx = ex / n;
                dy = ey / n;
            }
        }
        out.push_back(xy{out.back().x + dx, out.back().y + dy});
    }
    return out;
}

std::vector<xy> place_route(const std::vector<xy>& walked, const xy& origin, double heading_deg) {
    const double a = heading_deg * M_PI / 180, c = std::cos(a), s = std::sin(a);
    std::vector<xy> out(walked.size());
    for (std::size_t i = 0; i < walked.size(); ++i) {
        // The plan's +y goes to the heading, its +x to the heading's right.
        const xy& p = walked[i];
        out[i] = xy{origin.x + p.x * c + p.y * s, origin.y - p.x * s + p.y * c};
    }
    return out;
}

}  // namespace scenario::geodata
