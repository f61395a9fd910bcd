#include "tools/fit/curve_fit.h"

#include "tools/fit/curve_classes.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace scenario::fit {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr int no_class = 100;

double bearing(point from, point to) {
    return std::atan2(to.x - from.x, to.y - from.y);
}

double wrap(double a) {
    return a - 2 * pi * std::nearbyint(a / (2 * pi));
}

double signed_angle(int signed_class) {
    return signed_class < 0 ? -class_angle(-signed_class) : class_angle(signed_class);
}

// How far a metre's turn may be from a class's step and still be that
// class's: a map projection bends a line by about 1e-7 rad per metre (the
// meridians' convergence), the gentlest class turns by 1e-4.
constexpr double turn_tolerance = 1e-6;

// The class (signed: negative turns left) whose step turns by `t`, or no_class.
int class_of_turn(double t) {
    constexpr double tolerance = turn_tolerance;
    for (int k = -6; k <= 6; ++k)
        if (std::abs(t - signed_angle(k)) <= tolerance)
            return k;
    return no_class;
}

// Step headings h[m] of the metre steps m = 1..L, unwrapped; a step of no
// length keeps the heading before it.
std::vector<double> step_headings(const std::vector<point>& p) {
    std::vector<double> h(p.size(), 0.0);
    bool known = false;
    for (std::size_t m = 1; m < p.size(); ++m) {
        const bool moves = p[m].x != p[m - 1].x || p[m].y != p[m - 1].y;
        if (!moves) {
            h[m] = h[m - 1];
            continue;
        }
        const double b = bearing(p[m - 1], p[m]);
        h[m] = known ? h[m - 1] + wrap(b - h[m - 1]) : b;
        if (!known)
            for (std::size_t j = 1; j < m; ++j)
                h[j] = b;
        known = true;
    }
    h[0] = h.size() > 1 ? h[1] : 0;
    return h;
}

// A line made of the classes' own steps: every metre turns by a class's step,
// except single metres where one run of steps gives way to the next (the
// source's metres need not fall on the line's points). Gives the signed class
// of each step, or nothing when the line is not such a line.
std::optional<std::vector<int>> exact_classes(const std::vector<double>& h) {
    const std::size_t n = h.size();
    std::vector<int> cls(n, 0);
    for (std::size_t m = 2; m < n; ++m)
        cls[m] = class_of_turn(h[m] - h[m - 1]);
    for (std::size_t m = 2; m < n; ++m) {
        if (cls[m] != no_class)
            continue;
        if (m + 1 >= n || cls[m - 1] == no_class || cls[m + 1] == no_class)
            return std::nullopt;
        const double before = signed_angle(cls[m - 1]), after = signed_angle(cls[m + 1]);
        const double t = h[m] - h[m - 1];
        if (before == after || t < std::min(before, after) - turn_tolerance ||
            t > std::max(before, after) + turn_tolerance)
            return std::nullopt;
        cls[m] = (t - before) / (after - before) >= 0.5 ? cls[m + 1] : cls[m - 1];
    }
    return cls;
}

void add_piece(bend_report& b, std::vector<curve_line>& curves, int64_t start, int64_t length,
               int signed_class) {
    curve_line c{start, length, std::abs(signed_class), signed_class < 0};
    b.pieces.push_back(c);
    curves.push_back(c);
    b.fitted_angle_deg += static_cast<double>(length) * signed_angle(signed_class) * 180 / pi;
}

curve_fit exact_fit(const std::vector<double>& h, const std::vector<int>& cls) {
    curve_fit f;
    f.exact = true;
    f.start_heading = h.size() > 1 ? h[1] : 0;
    f.heading.resize(h.size());
    for (std::size_t m = 0; m < h.size(); ++m)
        f.heading[m] = h[m] - f.start_heading;
    const std::size_t n = h.size();
    std::size_t m = 2;
    while (m < n) {
        if (cls[m] == 0) {
            ++m;
            continue;
        }
        // A bend: the steps turning one way, in runs of one class each.
        bend_report b;
        const bool left = cls[m] < 0;
        b.from = static_cast<double>(m - 1);
        double turned = 0;
        while (m < n && cls[m] != 0 && (cls[m] < 0) == left) {
            const std::size_t first = m;
            while (m < n && cls[m] == cls[first])
                ++m;
            add_piece(b, f.curves, static_cast<int64_t>(first) - 1, static_cast<int64_t>(m - first),
                      cls[first]);
            turned += static_cast<double>(m - first) * signed_angle(cls[first]);
        }
        b.to = static_cast<double>(m - 1);
        b.line_angle_deg = h[m - 1] - h[static_cast<std::size_t>(b.from)];
        b.line_angle_deg *= 180 / pi;
        b.line_radius = std::abs(turned) > 0 ? (b.to - b.from) / std::abs(turned) : 0;
        f.bends.push_back(std::move(b));
    }
    return f;
}

// ---- lines that are not made of the classes' steps -------------------------

struct region {
    int64_t from = 0, to = 0;  // metres
    int sign = 0;
};

// The heading of the stretch of points [from, to] (its principal axis,
// pointing along the line), near `guess`.
double stretch_heading(const std::vector<point>& p, int64_t from, int64_t to, double guess) {
    const auto n = static_cast<double>(to - from + 1);
    double mx = 0, my = 0;
    for (int64_t m = from; m <= to; ++m) {
        mx += p[static_cast<std::size_t>(m)].x;
        my += p[static_cast<std::size_t>(m)].y;
    }
    mx /= n;
    my /= n;
    double sxx = 0, syy = 0, sxy = 0;
    for (int64_t m = from; m <= to; ++m) {
        const double dx = p[static_cast<std::size_t>(m)].x - mx, dy = p[static_cast<std::size_t>(m)].y - my;
        sxx += dx * dx;
        syy += dy * dy;
        sxy += dx * dy;
    }
    // The axis's bearing (from +y towards +x) θ maximises the spread along (sin θ, cos θ).
    const double axis = 0.5 * std::atan2(2 * sxy, syy - sxx);
    double a = guess + wrap(axis - guess);
    if (std::abs(wrap(a - guess)) > pi / 2)
        a += pi;
    return guess + wrap(a - guess);
}

// The pieces that turn by `angle` (radians, signed) over about `length`
// metres: one class, or two classes (the gentler one either side of the
// sharper) when no one class turns the angle over that length.
struct piece_plan {
    std::vector<std::pair<int64_t, int>> pieces;  // length, signed class
    bool sharper_than_class6 = false;
};

piece_plan plan_pieces(double angle, double length, double min_piece) {
    piece_plan out;
    const double a = std::abs(angle);
    const int sign = angle < 0 ? -1 : 1;
    if (a < 0.5 * min_piece * class_angle(1))
        return out;  // less than the gentlest class turns over the shortest piece
    const double mean = a / std::max(length, 1.0);
    const auto single = [&](int k) {
        auto n = static_cast<int64_t>(std::nearbyint(a / class_angle(k)));
        while (k > 1 && static_cast<double>(n) < min_piece) {
            --k;
            n = static_cast<int64_t>(std::nearbyint(a / class_angle(k)));
        }
        n = std::max<int64_t>(n, static_cast<int64_t>(std::ceil(min_piece)));
        out.pieces.push_back({n, sign * k});
    };
    if (mean >= class_angle(6)) {
        out.sharper_than_class6 = mean > class_angle(6) * 1.05;
        single(6);
        return out;
    }
    if (mean <= class_angle(1)) {
        single(1);
        return out;
    }
    int lo = 1;
    while (lo < 5 && class_angle(lo + 1) <= mean)
        ++lo;
    const int hi = lo + 1;
    const double a_lo = class_angle(lo), a_hi = class_angle(hi);
    const double n_hi = (a - length * a_lo) / (a_hi - a_lo);
    const double n_lo = length - n_hi;
    if (n_lo < 2 * min_piece) {
        single(n_hi * a_hi >= n_lo * a_lo || n_lo < min_piece ? hi : lo);
        return out;
    }
    if (n_hi < min_piece) {
        single(lo);
        return out;
    }
    const auto lo_total = static_cast<int64_t>(std::nearbyint(n_lo));
    const auto hi_len =
        static_cast<int64_t>(std::nearbyint((a - static_cast<double>(lo_total) * a_lo) / a_hi));
    out.pieces.push_back({lo_total / 2, sign * lo});
    out.pieces.push_back({hi_len, sign * hi});
    out.pieces.push_back({lo_total - lo_total / 2, sign * lo});
    return out;
}

curve_fit general_fit(const metre_line& line, double min_piece) {
    const std::vector<point>& p = line.points;
    const auto L = static_cast<int64_t>(p.size()) - 1;
    const auto at = [&](int64_t m) { return p[static_cast<std::size_t>(std::clamp<int64_t>(m, 0, L))]; };
    curve_fit f;

    // The mapping's noise, from the bow of 20 m chords across each point.
    const double noise = scatter(p);
    const int64_t w = std::clamp<int64_t>(static_cast<int64_t>(std::ceil(std::max(
                                              {5.0, line.median_spacing, 20.0 * noise, 30.0 * line.noise}))),
                                          5, 150);
    f.smoothing = static_cast<int>(w);

    // Headings at every metre from the chord over ±w (2w long at the ends too), unwrapped.
    const int64_t chord = std::min(L, 2 * w);
    std::vector<double> H(static_cast<std::size_t>(L + 1));
    for (int64_t m = 0; m <= L; ++m) {
        const int64_t lo = std::max<int64_t>(0, std::min(m - w, L - chord)), hi = std::min(L, lo + chord);
        double b = bearing(at(lo), at(hi));
        if (at(lo).x == at(hi).x && at(lo).y == at(hi).y)
            b = m > 0 ? H[static_cast<std::size_t>(m - 1)] : 0;
        H[static_cast<std::size_t>(m)] =
            m > 0 ? H[static_cast<std::size_t>(m - 1)] + wrap(b - H[static_cast<std::size_t>(m - 1)]) : b;
    }
    const auto Hat = [&](int64_t m) { return H[static_cast<std::size_t>(std::clamp<int64_t>(m, 0, L))]; };
    // Regions where the line turns, one way each, from the curvature over
    // ±reach of those headings, above its own scatter.
    const auto find_regions = [&](int64_t reach) {
        std::vector<double> K(static_cast<std::size_t>(L + 1));
        for (int64_t m = 0; m <= L; ++m) {
            const int64_t lo = std::max<int64_t>(0, m - reach), hi = std::min(L, m + reach);
            K[static_cast<std::size_t>(m)] = hi > lo ? (Hat(hi) - Hat(lo)) / static_cast<double>(hi - lo) : 0;
        }
        std::vector<double> diffs;
        for (int64_t m = 2 * reach + 1; m <= L; m += 3)
            diffs.push_back(
                std::abs(K[static_cast<std::size_t>(m)] - K[static_cast<std::size_t>(m - 2 * reach - 1)]));
        const double k_noise = 1.4826 * median_of(std::move(diffs)) / std::sqrt(2.0);
        const double threshold = std::max(0.5 * class_curvature[1], 3 * k_noise);
        // A turn smaller than the headings' own scatter is no bend.
        const double least_turn =
            std::max(0.5 * min_piece * class_angle(1), 3 * k_noise * static_cast<double>(2 * reach));
        std::vector<region> found;
        for (int64_t m = 0; m <= L; ++m) {
            const double k = K[static_cast<std::size_t>(m)];
            const int sign = k > threshold ? 1 : (k < -threshold ? -1 : 0);
            if (sign == 0)
                continue;
            if (!found.empty() && found.back().sign == sign && m - found.back().to <= 2 * reach)
                found.back().to = m;
            else
                found.push_back({m, m, sign});
        }
        // Widened by the smoothing, never into the next region.
        for (std::size_t i = 0; i < found.size(); ++i) {
            const int64_t before = i > 0 ? (found[i - 1].to + found[i].from) / 2 : 0;
            const int64_t after = i + 1 < found.size() ? (found[i].to + found[i + 1].from + 1) / 2 : L;
            found[i].from = std::max(before, found[i].from - reach);
            found[i].to = std::min(after, found[i].to + reach);
        }
        std::erase_if(found, [&](const region& r) { return std::abs(Hat(r.to) - Hat(r.from)) < least_turn; });
        return found;
    };
    std::vector<region> regions = find_regions(2 * w);
    if (line.smoothed > 0) {
        // Gentle bends hide in a scattered track's noise at that reach: looked
        // for again over twice of it, between the bends already found.
        for (const region& r : find_regions(4 * w)) {
            const bool clear = std::none_of(regions.begin(), regions.end(),
                                            [&](const region& q) { return r.from < q.to && q.from < r.to; });
            if (clear)
                regions.push_back(r);
        }
        std::sort(regions.begin(), regions.end(),
                  [](const region& a, const region& b) { return a.from < b.from; });
    }

    // The heading of each straight between regions (and before the first,
    // after the last): its principal axis, the nearest 600 m of it at most.
    constexpr int64_t straight_used = 600;
    const auto straight_heading = [&](int64_t from, int64_t to, bool near_end) {
        if (to - from < std::max<int64_t>(2 * w, 20))
            return Hat(near_end ? to : from);
        if (to - from > straight_used) {
            if (near_end)
                from = to - straight_used;
            else
                to = from + straight_used;
        }
        return stretch_heading(p, from, to, Hat((from + to) / 2));
    };
    // Where two regions meet without a straight between, the heading is at a
    // peak that the smoothing flattens: it is taken where the headings of the
    // two sides, each drawn on as a straight line, meet.
    const auto junction_heading = [&](const region& left, const region& right) {
        const int64_t j = (left.to + right.from) / 2;
        const auto fit = [&](int64_t from, int64_t to, double& slope, double& at_j) {
            if (to - from < 10)
                return false;
            double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
            for (int64_t m = from; m <= to; ++m) {
                const auto x = static_cast<double>(m - j);
                n += 1;
                sx += x;
                sy += Hat(m);
                sxx += x * x;
                sxy += x * Hat(m);
            }
            slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
            at_j = (sy - slope * sx) / n;
            return true;
        };
        double k1 = 0, h1 = 0, k2 = 0, h2 = 0;
        const int64_t l1 = std::min<int64_t>((j - left.from) / 2, 300),
                      l2 = std::min<int64_t>((right.to - j) / 2, 300);
        if (!fit(j - l1, j - w, k1, h1) || !fit(j + w, j + l2, k2, h2) || k1 == k2)
            return Hat(j);
        const double meet =
            std::clamp((h2 - h1) / (k1 - k2), -2.0 * static_cast<double>(w), 2.0 * static_cast<double>(w));
        return 0.5 * (h1 + k1 * meet + h2 + k2 * meet);
    };
    std::vector<double> straights;  // straights[i]: the heading before region i; the last one after all
    for (std::size_t i = 0; i <= regions.size(); ++i) {
        const int64_t from = i > 0 ? regions[i - 1].to : 0;
        const int64_t to = i < regions.size() ? regions[i].from : L;
        if (i > 0 && i < regions.size() && to - from < std::max<int64_t>(2 * w, 20)) {
            straights.push_back(junction_heading(regions[i - 1], regions[i]));
            continue;
        }
        // Before the first region the heading near its start counts; elsewhere
        // the part next to the region before.
        straights.push_back(straight_heading(from, to, i == 0 && !regions.empty()));
    }
    f.start_heading = straights.front();
    if (!regions.empty() && regions.front().from <= w)
        f.start_heading = Hat(0);

    double fitted = 0;  // radians the pieces placed so far turn
    int64_t placed_to = 1;
    // The fitted route drawn a metre per metre up to `drawn.at`, to see how
    // far beside the line a bend would leave it.
    struct walker {
        point q;
        double heading = 0;  // relative to the start
        int64_t at = 0;
    };
    walker drawn{p.front(), 0, 0};
    const auto walk = [&](walker w0, int64_t start, const std::vector<std::pair<int64_t, int>>& pieces,
                          int64_t to) {
        const auto step = [&](walker& wk, double turn) {
            wk.heading += turn;
            wk.q.x += std::sin(wk.heading + f.start_heading);
            wk.q.y += std::cos(wk.heading + f.start_heading);
            ++wk.at;
        };
        while (w0.at < start)
            step(w0, 0);
        for (const auto& [n, k] : pieces)
            for (int64_t j = 0; j < n; ++j)
                step(w0, signed_angle(k));
        while (w0.at < to)
            step(w0, 0);
        return w0;
    };
    const auto beside = [&](const walker& wk) {  // metres right of the line
        const point lp = at(wk.at);
        const double h = Hat(wk.at);
        return (wk.q.x - lp.x) * std::cos(h) - (wk.q.y - lp.y) * std::sin(h);
    };
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const region& r = regions[i];
        // Where the region turns and how spread its turning is.
        double sum = 0, first_moment = 0;
        for (int64_t m = r.from + 1; m <= r.to; ++m) {
            const double d = Hat(m) - Hat(m - 1);
            sum += d;
            first_moment += (static_cast<double>(m) - 0.5) * d;
        }
        if (sum == 0)
            continue;
        // Within the region, however the noise spread its turning.
        const double centre =
            std::clamp(first_moment / sum, static_cast<double>(r.from), static_cast<double>(r.to));
        double second = 0;
        for (int64_t m = r.from + 1; m <= r.to; ++m) {
            const double d = Hat(m) - Hat(m - 1);
            const double x = static_cast<double>(m) - 0.5 - centre;
            second += x * x * d;
        }
        const double variance = std::max(0.0, second / sum);
        // The headings are the line's averaged over 2w, its points over 2 * smoothed.
        const double blur = static_cast<double>(2 * w), points_blur = static_cast<double>(2 * line.smoothed);
        const double length =
            std::sqrt(std::max(0.0, 12 * variance - blur * blur - points_blur * points_blur));

        const double line_angle = straights[i + 1] - straights[i];
        // The angle that brings the route to the next straight's heading,
        // whatever the pieces before left over.
        const double angle = straights[i + 1] - f.start_heading - fitted;
        piece_plan plan = plan_pieces(angle, length, min_piece);
        bend_report b;
        b.from = static_cast<double>(r.from);
        b.to = static_cast<double>(r.to);
        b.line_angle_deg = line_angle * 180 / pi;
        b.line_radius = std::abs(line_angle) > 0 ? length / std::abs(line_angle) : 0;
        b.sharper_than_class6 = plan.sharper_than_class6;
        int64_t total = 0;
        for (const auto& pc : plan.pieces)
            total += pc.first;
        int64_t start = static_cast<int64_t>(std::nearbyint(centre - static_cast<double>(total) / 2));
        start = std::max(start, placed_to);
        if (start + total > L - 1) {
            start = std::max(placed_to, L - 1 - total);
            // Too long for what is left of the route: shortened from the end.
            while (!plan.pieces.empty() && start + total > L - 1) {
                const int64_t cut = std::min(plan.pieces.back().first, start + total - (L - 1));
                plan.pieces.back().first -= cut;
                total -= cut;
                if (plan.pieces.back().first == 0)
                    plan.pieces.pop_back();
            }
        }
        // Placed later or earlier so that the route comes out of the bend on
        // the line, not beside it (within half the bend's pieces).
        const double turn = std::sin(std::clamp(angle, -pi / 2, pi / 2));
        if (total > 0 && std::abs(turn) > 0.05) {
            const int64_t after = std::min(L, std::max(r.to, start + total));
            const double off = beside(walk(drawn, start, plan.pieces, after));
            const auto shift = static_cast<int64_t>(std::nearbyint(
                std::clamp(off / turn, -0.5 * static_cast<double>(total), 0.5 * static_cast<double>(total))));
            start = std::clamp(start + shift, placed_to, std::max(placed_to, L - 1 - total));
        }
        drawn = walk(drawn, start, plan.pieces, start + total);
        for (const auto& [n, k] : plan.pieces) {
            add_piece(b, f.curves, start, n, k);
            fitted += static_cast<double>(n) * signed_angle(k);
            start += n;
        }
        placed_to = std::max(placed_to, start);
        f.bends.push_back(std::move(b));
    }

    // The line's heading over each metre step, relative to the start.
    f.heading.assign(static_cast<std::size_t>(L + 1), 0.0);
    for (int64_t m = 1; m <= L; ++m)
        f.heading[static_cast<std::size_t>(m)] = 0.5 * (Hat(m - 1) + Hat(m)) - f.start_heading;
    f.heading[0] = L >= 1 ? f.heading[1] : 0;
    return f;
}

}  // namespace

curve_fit fit_curves(const metre_line& line, double min_piece) {
    const std::vector<double> h = step_headings(line.points);
    if (std::optional<std::vector<int>> cls = exact_classes(h))
        return exact_fit(h, *cls);
    return general_fit(line, std::max(min_piece, 1.0));
}

}  // namespace scenario::fit
