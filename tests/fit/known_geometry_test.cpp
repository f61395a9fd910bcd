// Lines of known geometry, made here (arcs of radii between the classes,
// S-bends, a bend sharper than the sharpest class, transition spirals, a long
// straight, a hill crossed by a tunnel), clean and with the noise of GPS
// tracks and elevation models: each fit is held to the bounds the README
// states for the import.
#include "tools/fit/curve_classes.h"
#include "tools/fit/fit_line.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace scenario::fit {
namespace {

constexpr double pi = 3.14159265358979323846;

double radians(double deg) {
    return deg * pi / 180;
}

// One element of a line: `length` metres over which the curvature goes
// linearly from `from` to `to` (1/m, positive turning right).
struct element {
    double length, from, to;
};
element straight(double length) {
    return {length, 0, 0};
}
element arc(double radius, double degrees) {  // negative degrees: left
    const double k = (degrees < 0 ? -1 : 1) / radius;
    return {std::abs(radians(degrees)) * radius, k, k};
}
element spiral(double length, double from_radius, double to_radius, bool left) {
    const double s = left ? -1 : 1;
    return {length, from_radius > 0 ? s / from_radius : 0, to_radius > 0 ? s / to_radius : 0};
}

struct bend_truth {
    double from, to, degrees;
};

struct made_line {
    line_input input;
    std::vector<double> heading;  // the true heading at every metre, radians
    std::vector<bend_truth> bends;
    double length = 0;
};

// Heights: a profile of gradients that change between cell boundaries.
double track_height(double s) {
    if (s < 1234)
        return 200 + 0.012 * s;
    if (s < 4321)
        return 200 + 0.012 * 1234 - 0.0065 * (s - 1234);
    return 200 + 0.012 * 1234 - 0.0065 * (4321 - 1234) + 0.004 * (s - 4321);
}

// The line drawn from its elements, a point every `spacing` metres, turned
// to start heading 30 degrees east of north; `xy_noise` and `z_noise` are the
// standard deviations of independent noise on each point.
made_line make(const std::vector<element>& elements, double spacing, double xy_noise, double z_noise,
               double (*ground)(double) = track_height) {
    made_line out;
    std::mt19937 random(20261211);
    std::normal_distribution<double> xy(0, xy_noise > 0 ? xy_noise : 1), z(0, z_noise > 0 ? z_noise : 1);
    constexpr double step = 0.05;
    double x = 1000, y = -2000, heading = radians(30), s = 0, next_point = 0, next_metre = 0;
    const auto emit = [&] {
        const double nx = xy_noise > 0 ? xy(random) : 0, ny = xy_noise > 0 ? xy(random) : 0;
        out.input.points.push_back({x + nx, y + ny});
        out.input.heights.push_back(ground(s) + (z_noise > 0 ? z(random) : 0));
    };
    for (const element& e : elements) {
        const double start = s, start_heading = heading;
        const int steps = static_cast<int>(std::nearbyint(e.length / step));
        for (int i = 0; i < steps; ++i) {
            if (s >= next_metre - 1e-9) {
                out.heading.push_back(heading);
                next_metre += 1;
            }
            if (s >= next_point - 1e-9) {
                emit();
                next_point += spacing;
            }
            const double t = (i + 0.5) / steps;
            const double k = e.from + (e.to - e.from) * t;
            const double mid = heading + 0.5 * k * step;
            x += step * std::sin(mid);
            y += step * std::cos(mid);
            heading += k * step;
            s += step;
        }
        if (e.from != 0 || e.to != 0)
            out.bends.push_back({start, s, (heading - start_heading) * 180 / pi});
    }
    emit();
    out.heading.push_back(heading);
    out.length = s;
    // Consecutive turning elements of one side are one bend.
    std::vector<bend_truth> merged;
    for (const bend_truth& b : out.bends) {
        if (!merged.empty() && std::abs(merged.back().to - b.from) < 1 &&
            (merged.back().degrees < 0) == (b.degrees < 0)) {
            merged.back().to = b.to;
            merged.back().degrees += b.degrees;
        } else {
            merged.push_back(b);
        }
    }
    out.bends = merged;
    return out;
}

struct geometry_case {
    std::string name;
    std::vector<element> elements;
    double xy_noise, z_noise;
    // Bounds: heading error on the straights (degrees, 10 m clear of each
    // bend), each bend's turning angle (degrees), heights (m RMS), the fitted
    // route's largest lateral distance from the line (m).
    double heading_bound, angle_bound, height_rms_bound, lateral_bound;
    bool sharper = false;  // a bend sharper than class 6
};

// The plan's heading after metre m, from the curve lines alone.
std::vector<double> plan_heading(const std::vector<curve_line>& curves, std::size_t metres) {
    std::vector<double> turn(metres + 1, 0.0);
    for (const curve_line& c : curves)
        for (int64_t m = c.start + 1; m <= c.start + c.length && m <= static_cast<int64_t>(metres); ++m)
            turn[static_cast<std::size_t>(m)] = (c.left ? -1 : 1) * class_angle(c.curve_class);
    std::vector<double> h(metres + 1, 0.0);
    for (std::size_t m = 2; m <= metres; ++m)
        h[m] = h[m - 1] + turn[m];
    return h;
}

class KnownGeometry : public ::testing::TestWithParam<geometry_case> {};

TEST_P(KnownGeometry, KeepsHeadingsAnglesAndHeightsWithinBounds) {
    const geometry_case& g = GetParam();
    const made_line line = make(g.elements, 10, g.xy_noise, g.z_noise);
    result<fitted_line> f = fit_line(line.input, {});
    ASSERT_TRUE(f.ok()) << f.error();
    const fit_report& r = f->report;
    // A scattered track is longer than its line; averaging takes most of that back.
    EXPECT_LE(std::abs(static_cast<double>(f->length) - line.length),
              g.xy_noise > 0 ? 0.006 * line.length : 0.5);

    // Headings on the straights, against the truth, relative to the start;
    // a bend sharper than class 6 turns over a longer stretch than the line's.
    const std::vector<double> plan = plan_heading(f->curves, static_cast<std::size_t>(f->length));
    double worst = 0, worst_at = 0;
    for (std::size_t m = 1; m < plan.size() && m < line.heading.size(); ++m) {
        const double at = static_cast<double>(m);
        const bool near_bend =
            std::any_of(line.bends.begin(), line.bends.end(),
                        [&](const bend_truth& b) { return at > b.from - 10 && at < b.to + 10; }) ||
            (g.sharper && std::any_of(f->curves.begin(), f->curves.end(), [&](const curve_line& c) {
                 return at >= static_cast<double>(c.start) - 10 &&
                        at <= static_cast<double>(c.start + c.length) + 10;
             }));
        if (near_bend)
            continue;
        const double e = std::abs(plan[m] - (line.heading[m] - line.heading[0])) * 180 / pi;
        if (e > worst) {
            worst = e;
            worst_at = at;
        }
    }
    EXPECT_LE(worst, g.heading_bound) << "at " << worst_at;

    // Each bend turns by its angle.
    for (const bend_truth& b : line.bends) {
        double fitted = 0;
        for (const curve_line& c : f->curves) {
            const double mid = static_cast<double>(c.start) + static_cast<double>(c.length) / 2;
            const double half_way_before = b.from - 0.5 * (b.to - b.from) - 100;
            if (mid > half_way_before && mid < b.to + 0.5 * (b.to - b.from) + 100 &&
                ((c.left) == (b.degrees < 0)))
                fitted +=
                    (c.left ? -1 : 1) * static_cast<double>(c.length) * class_angle(c.curve_class) * 180 / pi;
        }
        EXPECT_NEAR(fitted, b.degrees, g.angle_bound) << "bend at " << b.from;
    }
    EXPECT_LE(r.height_rms, g.height_rms_bound);
    EXPECT_LE(r.lateral_max, g.lateral_bound);
    EXPECT_EQ(std::any_of(r.bends.begin(), r.bends.end(),
                          [](const bend_report& b) { return b.sharper_than_class6; }),
              g.sharper);
    // No piece shorter than the shortest piece.
    for (const curve_line& c : f->curves)
        EXPECT_GE(c.length, 40) << "curve at " << c.start;
}

// A hill whose ground rises 80 m over the track where a tunnel crosses it.
double ground_over_tunnel(double s) {
    const double track = 300 + 0.01 * s;
    return s > 1500 && s < 2500 ? track + 80 * std::sin(pi * (s - 1500) / 1000) : track;
}

TEST(HillWithTunnel, KeepsTheMountainOutOfTheProfile) {
    for (double z_noise : {0.0, 1.0}) {
        made_line line = make({straight(4000)}, 10, 0, z_noise, ground_over_tunnel);
        line.input.level_spans = {{1500, 2500}};
        result<fitted_line> f = fit_line(line.input, {});
        ASSERT_TRUE(f.ok()) << f.error();
        // The compiled profile through the tunnel stays on the straight line
        // between its portals, 10 per mille.
        double at = f->heights_along.front();
        std::size_t cell = 0;
        for (std::size_t g = 0; g < f->gradients.size(); ++g) {
            const int64_t end = g + 1 < f->gradients.size() ? f->gradients[g + 1].position : f->length;
            for (; static_cast<int64_t>(cell) * 50 < end; ++cell) {
                at += f->gradients[g].per_mille * 0.05;
                const double s = static_cast<double>(cell + 1) * 50;
                if (s >= 1500 && s <= 2500) {
                    EXPECT_NEAR(at, 300 + 0.01 * s, 2 + 3 * z_noise) << "at " << s << " m, noise " << z_noise;
                }
            }
        }
        EXPECT_LE(f->report.height_rms, 2.0);
        EXPECT_LE(f->report.height_max, 5.0);
    }
}

std::vector<geometry_case> cases() {
    const std::vector<std::pair<const char*, std::vector<element>>> shapes = {
        {"radius_400", {straight(1000), arc(400, 60), straight(1500)}},
        {"radius_750_left", {straight(1000), arc(750, -45), straight(1500)}},
        {"radius_3000", {straight(1000), arc(3000, 20), straight(1500)}},
        {"s_bend", {straight(800), arc(600, 30), arc(600, -30), straight(1200)}},
        {"radius_250", {straight(1000), arc(250, 90), straight(1500)}},
        {"spirals",
         {straight(1000), spiral(120, 0, 500, false), arc(500, 40), spiral(120, 500, 0, false),
          straight(1500)}},
        {"long_straight", {straight(20000)}},
    };
    std::vector<geometry_case> out;
    for (const auto& [name, elements] : shapes) {
        const bool sharp = std::string(name) == "radius_250";
        out.push_back({name, elements, 0, 0, 0.5, 0.2, 2.0, 40, sharp});
        out.push_back({std::string(name) + "_noisy", elements, 3, 1, 0.5, 2.5, 2.0, 45, sharp});
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(Lines, KnownGeometry, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<geometry_case>& i) {
                             return std::string(i.param.xy_noise > 0 ? "noisy_" : "clean_") +
                                    std::to_string(i.index);
                         });

}  // namespace
}  // namespace scenario::fit
