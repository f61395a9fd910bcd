#include "compiler/running_times.h"

#include "compiler/keywords.h"
#include "compiler/warnings.h"

#include <cmath>

namespace scenario::route {

timing_kind timing_of(const station& st, bool first, bool last) {
    if (!st.arrival && !st.departure)
        return timing_kind::untimed;
    if (last)
        return timing_kind::terminal;
    if (first)
        return timing_kind::start;
    return st.dwell > 0 ? timing_kind::stop : timing_kind::passing;
}

std::vector<timing_point> timing_points(const std::vector<station>& list) {
    std::vector<timing_point> points;
    for (std::size_t n = 0; n < list.size(); ++n) {
        const timing_kind k = timing_of(list[n], n == 0, n + 1 == list.size());
        if (k == timing_kind::untimed)
            continue;
        const station& st = list[n];
        points.push_back({n, k, k == timing_kind::terminal ? *st.arrival : *st.departure, st.position});
    }
    return points;
}

std::vector<leg> legs(const std::vector<station>& list, const std::vector<speed_stretch>& stretches) {
    constexpr int64_t day = 24 * 3600, half_day = day / 2;
    const std::vector<timing_point> points = timing_points(list);
    std::vector<leg> out;
    for (std::size_t n = 1; n < points.size(); ++n) {
        leg l{points[n - 1], points[n], 0, 0, std::nullopt};
        l.scheduled = int64_t{l.to.time} - l.from.time;
        if (l.scheduled < -half_day)
            l.scheduled += day;
        if (l.to.kind == timing_kind::stop)
            l.dwell = list[l.to.station].dwell;
        if (l.to.position >= l.from.position) {
            if (const std::optional<double> run =
                    time_at_permitted_speed(stretches, l.from.position, l.to.position))
                l.bound = *run + l.dwell;
        }
        out.push_back(l);
    }
    return out;
}

void find_running_time_warnings(const stato_scenario& s, compile_log& log) {
    const std::vector<station> list = stations(s.celle, s.voci, &log);
    const std::vector<speed_stretch> stretches = permitted_speed(s.celle, route_length(s.celle, s.voci));
    for (const leg& l : legs(list, stretches)) {
        if (!l.bound || l.scheduled < 0 || static_cast<double>(l.scheduled) >= *l.bound)
            continue;
        logged_warning w;
        w.code = warning_code::running_time;
        w.row = &keyword_info(keyword::station);
        w.place = log.record_origins[static_cast<std::size_t>(list[l.to.station].slot)];
        w.other = log.record_origins[static_cast<std::size_t>(list[l.from.station].slot)];
        // The time fields: hours, minutes and seconds, after the keyword and 13 values.
        const auto line = fields_of_line(log, w.place.keyword_field);
        constexpr std::size_t hours = 14;
        if (line.size() >= hours + 3) {
            w.field = w.place.keyword_field + static_cast<int32_t>(hours);
            w.count = 3;
            w.first_column = line[hours].first_column;
            w.last_column = line[hours + 2].line == line[hours].line ? line[hours + 2].last_column
                                                                     : line[hours].last_column;
        }
        w.value = l.scheduled;
        w.stored = static_cast<int64_t>(std::ceil(*l.bound));
        w.other_value = l.dwell;
        note_warning(&log, w);
    }
}

}  // namespace scenario::route
