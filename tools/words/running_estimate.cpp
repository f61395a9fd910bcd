#include "tools/words/running_estimate.h"

#include "tools/words/text_encoding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace scenario::tool {

namespace {

// A stretch of the front's way with one limit, m/s.
struct piece {
    double from, to, limit;
};

// The limits the front meets from `from` to `to`: at each point the lowest
// permitted speed under the train, so a limit holds until the rear has left
// it. Empty when some point has no speed at all. The stretches run in order,
// end to start, so only those near the leg are looked at.
std::vector<piece> front_limits(const std::vector<route::speed_stretch>& stretches, double from, double to,
                                double tail) {
    const auto reaches = [tail](const route::speed_stretch& s, double x) {
        return static_cast<double>(s.to) + tail > x;
    };
    const auto first = std::partition_point(stretches.begin(), stretches.end(),
                                            [&](const route::speed_stretch& s) { return !reaches(s, from); });
    const auto last = std::partition_point(first, stretches.end(), [&](const route::speed_stretch& s) {
        return static_cast<double>(s.from) < to;
    });
    std::vector<double> cuts = {from, to};
    for (auto s = first; s != last; ++s)
        for (double x : {static_cast<double>(s->from), static_cast<double>(s->to) + tail})
            if (x > from && x < to)
                cuts.push_back(x);
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    std::vector<piece> pieces;
    auto under = first;  // the first stretch still under the train
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const double p = cuts[i];
        while (under != last && !reaches(*under, p))
            ++under;
        double limit = -1;
        for (auto s = under; s != last && static_cast<double>(s->from) <= p; ++s) {
            const double v = s->speed_kmh / 3.6;
            limit = limit < 0 ? v : std::min(limit, v);
        }
        if (limit < 0)
            return {};
        pieces.push_back({p, cuts[i + 1], limit});
    }
    return pieces;
}

}  // namespace

std::optional<double> estimate_run(const std::vector<route::speed_stretch>& stretches, int64_t from,
                                   int64_t to, bool from_rest, bool to_stop, const train_model& model) {
    const double a = model.acceleration, b = model.braking;
    if (!(a > 0) || !(b > 0) || to < from)
        return std::nullopt;
    if (to == from)
        return 0.0;
    const std::vector<piece> pieces = front_limits(stretches, static_cast<double>(from),
                                                   static_cast<double>(to), std::max(0.0, model.length));
    if (pieces.empty())
        return std::nullopt;
    // The speed squared at each cut: at most the limits on both sides, then
    // what the train reaches accelerating forward and braking backward.
    const std::size_t n = pieces.size();
    std::vector<double> v2(n + 1);
    for (std::size_t i = 0; i <= n; ++i) {
        const double before = pieces[i > 0 ? i - 1 : 0].limit, after = pieces[i < n ? i : n - 1].limit;
        v2[i] = std::min(before, after) * std::min(before, after);
    }
    if (from_rest)
        v2[0] = 0;
    if (to_stop)
        v2[n] = 0;
    for (std::size_t i = 0; i < n; ++i)
        v2[i + 1] = std::min(v2[i + 1], v2[i] + 2 * a * (pieces[i].to - pieces[i].from));
    for (std::size_t i = n; i-- > 0;)
        v2[i] = std::min(v2[i], v2[i + 1] + 2 * b * (pieces[i].to - pieces[i].from));
    // In each piece: up from its entry speed, on at its limit, down to its exit speed.
    double seconds = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double len = pieces[i].to - pieces[i].from, top = pieces[i].limit;
        const double in = std::sqrt(v2[i]), out = std::sqrt(v2[i + 1]);
        const double up = (top * top - v2[i]) / (2 * a), down = (top * top - v2[i + 1]) / (2 * b);
        if (up + down <= len) {
            if (!(top > 0))
                return std::nullopt;
            seconds += (top - in) / a + (len - up - down) / top + (top - out) / b;
        } else {
            // The limit is not reached: up and down meet at a peak.
            const double peak = std::sqrt(v2[i] + 2 * a * (v2[i + 1] - v2[i] + 2 * b * len) / (2 * (a + b)));
            if (!(peak > 0))
                return std::nullopt;
            seconds += (peak - in) / a + (peak - out) / b;
        }
    }
    return seconds;
}

std::vector<leg_times> running_times(const std::vector<route::station>& stations,
                                     const std::vector<route::speed_stretch>& stretches,
                                     const train_model& model) {
    using route::timing_kind;
    std::vector<leg_times> out;
    for (const route::leg& l : route::legs(stations, stretches)) {
        leg_times t{l, std::nullopt, std::nullopt};
        const bool from_rest = l.from.kind == timing_kind::start || l.from.kind == timing_kind::stop;
        const bool to_stop = l.to.kind == timing_kind::stop || l.to.kind == timing_kind::terminal;
        if (const auto run =
                estimate_run(stretches, l.from.position, l.to.position, from_rest, to_stop, model)) {
            t.estimate = *run + l.dwell;
            if (*t.estimate > 0)
                t.margin_percent = (static_cast<double>(l.scheduled) - *t.estimate) / *t.estimate * 100;
        }
        out.push_back(t);
    }
    return out;
}

namespace {

const char* kind_name(route::timing_kind k) {
    switch (k) {
        case route::timing_kind::start:
            return "start";
        case route::timing_kind::stop:
            return "stop";
        case route::timing_kind::passing:
            return "passing";
        case route::timing_kind::terminal:
            return "terminal";
        case route::timing_kind::untimed:
            break;
    }
    return "untimed";
}

nlohmann::ordered_json tenths(const std::optional<double>& x) {
    if (!x)
        return nullptr;
    return std::round(*x * 10) / 10;
}

}  // namespace

nlohmann::ordered_json running_times_json(const std::vector<route::station>& stations,
                                          const std::vector<leg_times>& legs) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const leg_times& t : legs) {
        const auto point = [&](const route::timing_point& p) {
            return nlohmann::ordered_json{{"station", from_windows1252(stations[p.station].name)},
                                          {"slot", stations[p.station].slot},
                                          {"kind", kind_name(p.kind)},
                                          {"position", p.position},
                                          {"time", p.time}};
        };
        list.push_back({{"from", point(t.leg.from)},
                        {"to", point(t.leg.to)},
                        {"scheduled", t.leg.scheduled},
                        {"dwell", t.leg.dwell},
                        {"bound", tenths(t.leg.bound)},
                        {"estimate", tenths(t.estimate)},
                        {"margin_percent", tenths(t.margin_percent)},
                        {"below_bound", t.leg.bound && static_cast<double>(t.leg.scheduled) < *t.leg.bound}});
    }
    return list;
}

}  // namespace scenario::tool
