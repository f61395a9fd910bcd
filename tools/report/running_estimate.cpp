#include "tools/report/running_estimate.h"

#include "tools/report/text_encoding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace scenario::tool {

std::optional<double> estimate_run(const std::vector<route::speed_stretch>& stretches, int64_t from,
                                   int64_t to, bool from_rest, bool to_stop, const train_model& model) {
    if (!(model.acceleration > 0) || !(model.braking > 0) || to < from)
        return std::nullopt;
    if (to == from)
        return 0.0;
    // The limit of each metre the front runs, m/s: the lowest permitted speed
    // under the train, so a limit holds until the rear has left it.
    const auto metres = static_cast<std::size_t>(to - from);
    const auto tail = static_cast<int64_t>(std::ceil(std::max(0.0, model.length)));
    std::vector<double> limit(metres, -1);
    for (const route::speed_stretch& s : stretches) {
        const int64_t a = std::max(s.from, from), b = std::min(s.to + tail, to);
        for (int64_t x = a; x < b; ++x) {
            double& l = limit[static_cast<std::size_t>(x - from)];
            const double v = s.speed_kmh / 3.6;
            l = l < 0 ? v : std::min(l, v);
        }
    }
    // Each point between two metres keeps to both; forward the train
    // accelerates, backward it brakes for what comes.
    std::vector<double> v(metres + 1);
    for (std::size_t i = 0; i <= metres; ++i) {
        const double before = i > 0 ? limit[i - 1] : limit[0];
        const double after = i < metres ? limit[i] : limit[metres - 1];
        v[i] = std::min(before, after);
        if (v[i] < 0)
            return std::nullopt;  // beyond the route's speeds
    }
    if (from_rest)
        v[0] = 0;
    if (to_stop)
        v[metres] = 0;
    for (std::size_t i = 1; i <= metres; ++i)
        v[i] = std::min(v[i], std::sqrt(v[i - 1] * v[i - 1] + 2 * model.acceleration));
    for (std::size_t i = metres; i-- > 0;)
        v[i] = std::min(v[i], std::sqrt(v[i + 1] * v[i + 1] + 2 * model.braking));
    double seconds = 0;
    for (std::size_t i = 0; i < metres; ++i) {
        const double sum = v[i] + v[i + 1];
        if (!(sum > 0))
            return std::nullopt;
        seconds += 2 / sum;
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
