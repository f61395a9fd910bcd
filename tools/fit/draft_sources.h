// The writer of a draft scenario's two text sources from a fitted line and
// what the source's tags gave, within the format's limits.
#pragma once

#include "tools/fit/fit_line.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario::fit {

struct draft_tunnel {
    int64_t from = 0, to = 0;  // metres along the route
    std::string name;          // UTF-8
};

struct draft_station {
    std::string name;  // UTF-8
    int64_t position = 0;
    int dwell = 30;               // seconds (the first station's is 1, the last's 0, as in the program)
    std::optional<int32_t> time;  // departure (at the last station: arrival), seconds after midnight
};

struct draft_signal {
    int64_t position = 0;
};

// A line speed limit from `from` on.
struct draft_speed {
    int64_t from = 0;
    int kmh = 0;
};

struct draft {
    std::string name;  // NAME and NUMBER of the file names
    int train = 0;
    int64_t start_km_m = 0;  // the first kilometre post, metres, a multiple of 50
    fitted_line line;
    std::vector<draft_tunnel> tunnels;
    std::vector<draft_station> stations;
    std::vector<draft_signal> signals;
    std::vector<draft_speed> speeds;  // none: 80 km/h over the whole line
    // The draft timetable, for stations without a time: the first leaves at
    // `departure` (seconds after midnight), each next one is reached after the
    // running-time estimate plus `margin` (a fraction), to the whole minute.
    int32_t departure = 8 * 3600;
    double margin = 0.05;
};

// Windows-1252 bytes, CR LF.
struct draft_texts {
    std::string line, run;
};

// Something the draft could not hold, for the report.
struct dropped {
    std::string what, why;
};

struct draft_result {
    draft_texts texts;
    std::vector<fit::dropped> dropped;
    std::vector<std::string> added;  // what the draft needed and the source did not give
};

// Applies the format's limits (positions snapped to 50 m cells, station
// spacing, record slots, tunnel classes and boards, signals one per cell and
// none before 350 m ...) and says what it dropped and why. A run needs two
// stations: where the source gives fewer, one is added at each missing end.
draft_result write_draft(const draft& d);

}  // namespace scenario::fit
