// The fit on any polyline and heights, then the draft written from it and
// compiled. The first byte chooses how the rest is read: as raw doubles (x, y,
// z per point: NaN, infinities and huge values reach the checks), or as 16-bit
// steps in decimetres (lines that look like lines); and whether heights, level
// spans and a zero tolerance are given. Whatever the input, the fit either
// fails with a reason or gives lines the format holds, and the draft compiles
// without an error.
#include "tools/core/memory_compile.h"
#include "tools/fit/draft_sources.h"
#include "tools/fit/fit_line.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace scenario;
using namespace scenario::fit;

// Longer lines cost the fuzzer seconds each and add no branch.
constexpr double longest_fuzzed = 20000;
constexpr std::size_t most_points = 4000;

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "line fit: %s\n", what.c_str());
    std::abort();
}

double length_of(const std::vector<point>& p) {
    double s = 0;
    for (std::size_t i = 1; i < p.size(); ++i)
        s += std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y);
    return s;
}

void check(const fitted_line& f) {
    int64_t end = 0;
    for (const curve_line& c : f.curves) {
        if (c.curve_class < 1 || c.curve_class > 6 || c.length <= 0 || c.start < end || c.start < 1 ||
            c.start + c.length > f.length)
            fail("a curve line the format does not hold: " + std::to_string(c.start) + "+" +
                 std::to_string(c.length));
        end = c.start + c.length;
    }
    int64_t previous = -50;
    for (const gradient_line& g : f.gradients) {
        if (g.position % 50 != 0 || g.position <= previous || g.per_mille < -100 || g.per_mille > 155)
            fail("a gradient line the format does not hold at " + std::to_string(g.position));
        previous = g.position;
    }
    const fit_report& r = f.report;
    for (double v : {r.heading_error_max_deg, r.lateral_max, r.lateral_rms, r.height_rms, r.height_max,
                     r.compiler_stretch, r.line_length})
        if (!std::isfinite(v))
            fail("a figure of the report is not a number");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const uint8_t mode = data[0];
    const bool raw = (mode & 1) != 0, heights = (mode & 2) != 0, spans = (mode & 4) != 0,
               exact = (mode & 8) != 0;
    ++data;
    --size;
    line_input in;
    if (raw) {
        for (std::size_t i = 0; i + 24 <= size && in.points.size() < most_points; i += 24) {
            double v[3];
            std::memcpy(v, data + i, sizeof v);
            in.points.push_back({v[0], v[1]});
            if (heights)
                in.heights.push_back(v[2]);
        }
    } else {
        double x = 0, y = 0, z = 100;
        in.points.push_back({x, y});
        if (heights)
            in.heights.push_back(z);
        for (std::size_t i = 0; i + 5 <= size && in.points.size() < most_points; i += 5) {
            int16_t dx, dy;
            std::memcpy(&dx, data + i, 2);
            std::memcpy(&dy, data + i + 2, 2);
            x += dx / 10.0;
            y += dy / 10.0;
            z += static_cast<int8_t>(data[i + 4]) / 10.0;
            in.points.push_back({x, y});
            if (heights)
                in.heights.push_back(z);
        }
    }
    const double length = length_of(in.points);
    if (std::isfinite(length) && length > longest_fuzzed && length <= 1000000)
        return 0;
    if (spans && !in.points.empty())
        in.level_spans = {{length * 0.25, length * 0.5}, {length * 0.75, length * 2}};
    fit_options options;
    if (exact)
        options.height_rms = options.height_max = 0;
    result<fitted_line> f = fit_line(in, options);
    if (!f) {
        if (f.error().empty())
            fail("a failure without a reason");
        return 0;
    }
    check(*f);

    draft d;
    d.name = "Fuzz";
    d.train = 1;
    d.line = *f;
    d.stations = {{"A", 0, 30, {}}, {"B", f->length / 2, 30, {}}, {"C", f->length, 30, {}}};
    d.tunnels = {{f->length / 3, f->length / 3 + 200, "T"}};
    d.signals = {{f->length / 4}, {f->length - 100}};
    const draft_result r = write_draft(d);
    const tool::compiled_sources c = tool::compile_texts(r.texts.line, r.texts.run, {"Fuzz", "1"}, true);
    if (c.state->codice_errore != 0 || !c.errors.empty())
        fail("the draft does not compile: error " + std::to_string(c.state->codice_errore) + "\n" +
             r.texts.line + r.texts.run);
    return 0;
}
