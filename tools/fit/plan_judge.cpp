#include "tools/fit/plan_judge.h"

#include "compiler/cell_rules.h"
#include "compiler/gradient_profile.h"
#include "compiler/route_facts.h"
#include "tools/core/memory_compile.h"
#include "tools/fit/gradient_fit.h"
#include "tools/fit/line_entries.h"

#include <algorithm>
#include <cmath>

namespace scenario::fit {

namespace {

constexpr double pi = 3.14159265358979323846;

std::string judged_line_text(const fitted_line& f) {
    std::vector<std::string> lines = {"[generale]", length_entry(f.length), "[curve]"};
    for (const curve_line& c : f.curves)
        lines.push_back(curve_entry(c));
    lines.push_back("[pendenze]");
    for (const gradient_line& g : f.gradients)
        lines.push_back(gradient_entry(g));
    lines.push_back("[fine]");
    return file_bytes(lines);
}

bool inside(const std::vector<std::pair<double, double>>& stretches, double m) {
    return std::any_of(stretches.begin(), stretches.end(),
                       [&](const auto& s) { return m >= s.first && m <= s.second; });
}

}  // namespace

void judge_fit(const metre_line& line, const curve_fit& curves, fitted_line& out) {
    fit_report& r = out.report;
    const tool::compiled_sources c = tool::compile_texts(
        judged_line_text(out), file_bytes({"[generale]", "[fine]"}), {"fit", "1", false}, true);
    const stato_scenario& s = *c.state;
    const int64_t L = out.length;
    if (!s.tracciato.esiste() || s.tracciato.ultimo_punto < L || s.tracciato.valori.empty())
        return;

    // Stretches that count as bends: the line's and the pieces'.
    std::vector<std::pair<double, double>> bends;
    for (const bend_report& b : curves.bends) {
        double from = b.from, to = b.to;
        for (const curve_line& p : b.pieces) {
            from = std::min(from, static_cast<double>(p.start));
            to = std::max(to, static_cast<double>(p.start + p.length));
        }
        bends.push_back({from, to});
    }

    const auto x = [&](int64_t m) { return s.tracciato.at(static_cast<int32_t>(m), 0).numero(); };
    const auto y = [&](int64_t m) { return s.tracciato.at(static_cast<int32_t>(m), 1).numero(); };
    double drawn = 0, heading = 0, previous = 0;
    point q = line.points.front();
    double lateral_sq = 0;
    r.heading_error_max_deg = r.heading_error_straight_max_deg = 0;
    r.lateral_max = 0;
    for (int64_t m = 1; m <= L; ++m) {
        const double dx = x(m) - x(m - 1), dy = y(m) - y(m - 1);
        drawn += std::hypot(dx, dy);
        const double b = std::atan2(dx, dy);
        heading = m == 1 ? b : previous + std::remainder(b - previous, 2 * pi);
        previous = heading;
        const double error = std::abs(heading - curves.heading[static_cast<std::size_t>(m)]) * 180 / pi;
        if (error > r.heading_error_max_deg) {
            r.heading_error_max_deg = error;
            r.heading_error_at = static_cast<double>(m);
        }
        if (!inside(bends, static_cast<double>(m)))
            r.heading_error_straight_max_deg = std::max(r.heading_error_straight_max_deg, error);
        // The plan redrawn at one metre per metre on the line's map.
        const double a = heading + curves.start_heading;
        q.x += std::sin(a);
        q.y += std::cos(a);
        const point p = line.points[static_cast<std::size_t>(m)];
        const double h = curves.heading[static_cast<std::size_t>(m)] + curves.start_heading;
        const double lateral = (q.x - p.x) * std::cos(h) - (q.y - p.y) * std::sin(h);
        lateral_sq += lateral * lateral;
        if (std::abs(lateral) > r.lateral_max) {
            r.lateral_max = std::abs(lateral);
            r.lateral_at = static_cast<double>(m);
        }
    }
    r.lateral_rms = L > 0 ? std::sqrt(lateral_sq / static_cast<double>(L)) : 0;
    r.compiler_stretch = L > 0 ? drawn / static_cast<double>(L) : 1;

    // The cells' heights against the heights every 50 m.
    const std::vector<double>& h = out.heights_along;
    if (h.empty() || s.celle.empty())
        return;
    double at = h.front(), sq = 0;
    r.height_max = 0;
    for (std::size_t j = 1; j < h.size() && j - 1 < s.celle.size(); ++j) {
        at += route::climb(route::cell_gradient(s.celle[j - 1]), route::cell_length);
        const double e = std::abs(at - h[j]);
        sq += e * e;
        if (e > r.height_max) {
            r.height_max = e;
            r.height_at = static_cast<double>(route::cell_span(static_cast<int64_t>(j)).from);
        }
    }
    r.height_rms = std::sqrt(sq / static_cast<double>(h.size()));
}

}  // namespace scenario::fit
