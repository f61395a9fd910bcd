#include "tools/fit/gradient_fit.h"

#include "compiler/cell_rules.h"
#include "compiler/gradient_profile.h"

#include <algorithm>
#include <cmath>

namespace scenario::fit {

namespace {

int whole_gradient(double per_mille) {
    if (!std::isfinite(per_mille))
        return 0;
    return static_cast<int>(
        std::clamp(std::nearbyint(per_mille), double{lowest_gradient}, double{highest_gradient}));
}

// The metres a cell of `g` per mille climbs.
double climb(int g) {
    return route::climb(g, route::cell_length);
}

// Lines from one gradient per cell: one line wherever it changes.
gradient_fit lines_of(const std::vector<int>& per_cell, double first_height) {
    gradient_fit out;
    out.profile.push_back(first_height);
    for (std::size_t c = 0; c < per_cell.size(); ++c) {
        if (c == 0 || per_cell[c] != per_cell[c - 1])
            out.lines.push_back({route::cell_span(static_cast<int64_t>(c)).from, per_cell[c]});
        out.profile.push_back(out.profile.back() + climb(per_cell[c]));
    }
    if (out.lines.empty())
        out.lines.push_back({0, 0});
    return out;
}

// Every cell its own gradient, each taken from where the compiled profile
// stands, so the rounding never adds up.
std::vector<int> every_change(const std::vector<double>& h) {
    std::vector<int> g;
    double at = h.front();
    for (std::size_t c = 0; c + 1 < h.size(); ++c) {
        g.push_back(whole_gradient((h[c + 1] - at) * 1000.0 / static_cast<double>(route::cell_length)));
        at += climb(g.back());
    }
    return g;
}

// Stretches grown from where the compiled profile stands while one whole
// gradient keeps every height of the stretch within `bound`.
std::vector<int> stretches(const std::vector<double>& h, double bound) {
    constexpr std::size_t longest = 200;  // cells: bounds the work on long even lines
    const std::size_t cells = h.size() - 1;
    std::vector<int> g(cells, 0);
    double at = h.front();
    std::size_t i = 0;
    while (i < cells) {
        int best = whole_gradient((h[i + 1] - at) * 1000.0 / static_cast<double>(route::cell_length));
        std::size_t end = i + 1;
        double sxy = 0, sxx = 0;
        for (std::size_t j = i + 1; j <= cells && j - i <= longest; ++j) {
            const auto k = static_cast<double>(j - i);
            sxy += (h[j] - at) * k;
            sxx += k * k;
            const int cand = whole_gradient(sxy / sxx * 1000.0 / static_cast<double>(route::cell_length));
            bool fits = true;
            for (std::size_t q = i + 1; q <= j && fits; ++q)
                fits = std::abs(at + climb(cand) * static_cast<double>(q - i) - h[q]) <= bound;
            if (!fits && j > i + 1)
                break;
            best = cand;
            end = j;
        }
        for (std::size_t c = i; c < end; ++c)
            g[c] = best;
        at += climb(best) * static_cast<double>(end - i);
        i = end;
    }
    return g;
}

}  // namespace

std::vector<double> heights_every_cell(const std::vector<double>& per_metre, int64_t route_length,
                                       bool smooth) {
    std::vector<double> out;
    if (per_metre.empty())
        return out;
    const auto last = static_cast<int64_t>(per_metre.size()) - 1;
    const auto at = [&](int64_t m) {
        return per_metre[static_cast<std::size_t>(std::clamp<int64_t>(m, 0, last))];
    };
    // A point at the start of every cell the route touches, and one past its end.
    const int64_t points = route::cell_at_metre(static_cast<double>(route_length) - 1) + 2;
    for (int64_t j = 0; j < points; ++j) {
        const int64_t m = route::cell_span(j).from;
        if (!smooth) {
            out.push_back(at(m));
            continue;
        }
        double sum = 0;
        for (int64_t q = m - 25; q <= m + 25; ++q)
            sum += at(q);
        out.push_back(sum / 51);
    }
    return out;
}

gradient_fit fit_gradients(const std::vector<double>& h, double rms, double max) {
    if (h.size() < 2)
        return lines_of({}, h.empty() ? 0 : h.front());
    if (!(rms > 0) && !(max > 0))
        return lines_of(every_change(h), h.front());
    // The loosest bound whose profile keeps both the RMS and the maximum.
    double bound = max > 0 ? max : 3 * rms;
    gradient_fit best = lines_of(every_change(h), h.front());
    for (int tries = 0; tries < 12; ++tries) {
        gradient_fit f = lines_of(stretches(h, bound), h.front());
        double sq = 0, worst = 0;
        for (std::size_t j = 0; j < h.size(); ++j) {
            const double e = std::abs(f.profile[j] - h[j]);
            sq += e * e;
            worst = std::max(worst, e);
        }
        const bool within = (!(rms > 0) || std::sqrt(sq / static_cast<double>(h.size())) <= rms) &&
                            (!(max > 0) || worst <= max);
        if (within)
            return f;
        bound *= 0.7;
    }
    return best;
}

}  // namespace scenario::fit
