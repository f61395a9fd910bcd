// What the source's tags say about the line, placed along the route: tunnels
// and bridges, stations and halts, signals, speed limits, the first km post.
#pragma once

#include "tools/fit/draft_sources.h"
#include "tools/fit/line_input.h"
#include "tools/geodata/geo_source.h"
#include "tools/geodata/line_join.h"

#include <optional>
#include <string>
#include <vector>

namespace scenario::geodata {

struct line_features {
    std::vector<fit::span> level_spans;  // tunnels and bridges: the track's heights run straight across
    std::vector<fit::draft_tunnel> tunnels;
    std::vector<fit::draft_station> stations;
    std::vector<fit::draft_signal> signals;
    std::vector<fit::draft_speed> speeds;
    std::optional<int64_t> start_km_m;  // from railway:position milestones on the line
    std::vector<std::string> taken;     // what came from tags, one line each
    std::vector<fit::dropped> dropped;  // what was left out, and why
};

struct feature_options {
    double station_distance = 150;  // metres from the line at most
    double on_line = 10;            // metres: a signal or a milestone stands on the line
};

// Reads the tags of the pieces (as placed on `line`), of the tagged lines on
// it and of the points. `plane_points[i]` is source.points[i] on the local
// plane, `plane_lines[i]` source.tagged_lines[i].
line_features read_features(const geo_source& source, const joined_line& line,
                            const std::vector<xy>& plane_points,
                            const std::vector<std::vector<xy>>& plane_lines, const feature_options& options);

// The nearest place on the path: metres along it and metres off it.
struct on_path {
    double along = 0, off = 0;
};
on_path project_onto(const std::vector<xy>& path, const std::vector<double>& along, const xy& p);

// A maxspeed tag in km/h rounded down to a multiple of 5 ("80", "50 mph");
// none for "none", "signals" and the like.
std::optional<int> parse_maxspeed(const std::string& value);

}  // namespace scenario::geodata
