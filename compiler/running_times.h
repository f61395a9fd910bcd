// Running times: the timing points of a run (the stations with a time) and,
// between each pair, the time the timetable gives against the least time the
// sources allow: the distance run at the permitted speed everywhere, plus the
// stop at the later point. No train is faster than that.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/route_facts.h"
#include "compiler/speed_profile.h"
#include "compiler/state.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace scenario::route {

enum class timing_kind : uint8_t {
    untimed,   // time 0: passed without a time
    start,     // the first station: its time is the departure
    stop,      // a dwell above 0: its time is the departure
    passing,   // dwell 0 and a time: the time it is passed
    terminal,  // the last station: its time is the arrival
};
timing_kind timing_of(const station& st, bool first, bool last);

struct timing_point {
    std::size_t station = 0;  // index in the station list
    timing_kind kind = timing_kind::untimed;
    int32_t time = 0;  // seconds after midnight, as the record holds it
    int64_t position = 0;
};
std::vector<timing_point> timing_points(const std::vector<station>& list);

// From one timing point to the next. Both times are the records' own, so the
// scheduled time of a leg that ends at a stop includes its dwell, and so does
// the bound.
struct leg {
    timing_point from, to;
    int64_t scheduled = 0;  // seconds; a step back of more than 12 hours passes midnight
    int32_t dwell = 0;      // the stop at `to`, seconds
    // Seconds at the permitted speed all the way, plus `dwell`; none when a
    // stretch between has no speed.
    std::optional<double> bound;
};
std::vector<leg> legs(const std::vector<station>& list, const std::vector<speed_stretch>& stretches);

// Notes a warning at the later station's line for every leg whose scheduled
// time is below its bound (a leg whose time goes back is another warning's).
void find_running_time_warnings(const stato_scenario& s, compile_log& log);

}  // namespace scenario::route
