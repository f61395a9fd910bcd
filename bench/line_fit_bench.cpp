// The fit of a long line: 40 and 200 km, a point every 10 m with heights,
// bends of the radii a line has, clean and scattered as a GPS track; and the
// draft written from it. The import has one second for all of it.
#include "tools/fit/draft_sources.h"
#include "tools/fit/fit_line.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <random>

namespace {

using namespace scenario::fit;

line_input long_line(double length, double scatter) {
    line_input in;
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, scatter > 0 ? scatter : 1);
    const double radii[] = {400, 750, 1500, 3000, 600, 1000};
    double x = 0, y = 0, heading = 0.3, s = 0, next = 0;
    int bend = 0;
    while (s < length) {
        // 800 m straight, then a bend of 20 to 60 degrees, alternately right and left.
        const double radius = radii[bend % 6];
        const double angle = (20 + 10 * (bend % 5)) * 3.14159265358979 / 180 * (bend % 2 ? -1 : 1);
        const double arc = std::abs(angle) * radius;
        for (double t = 0; t < 800 + arc && s < length; t += 1, s += 1) {
            if (t >= 800)
                heading += angle / arc;
            x += std::sin(heading);
            y += std::cos(heading);
            if (s >= next) {
                in.points.push_back(
                    {x + (scatter > 0 ? noise(random) : 0), y + (scatter > 0 ? noise(random) : 0)});
                in.heights.push_back(300 + 150 * std::sin(s / 7000) + 40 * std::sin(s / 1300));
                next += 10;
            }
        }
        ++bend;
    }
    return in;
}

void fit(benchmark::State& state) {
    const line_input in =
        long_line(static_cast<double>(state.range(0)) * 1000, static_cast<double>(state.range(1)));
    for (auto _ : state) {
        auto f = fit_line(in, {});
        draft d;
        d.name = "Lunga";
        d.train = 1;
        d.line = *f;
        d.stations = {{"A", 0, 30, {}}, {"B", f->length - 200, 30, {}}};
        benchmark::DoNotOptimize(write_draft(d));
    }
    state.SetLabel(std::to_string(in.points.size()) + " points");
}

}  // namespace

BENCHMARK(fit)->Args({40, 0})->Args({200, 0})->Args({200, 3})->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
