// Joins the pieces of a line end to end into one path on the local plane, and
// picks the end the route starts from.
#pragma once

#include "common/result.h"
#include "tools/geodata/geo_source.h"
#include "tools/geodata/local_projection.h"

#include <string>
#include <vector>

namespace scenario::geodata {

struct joined_line {
    std::vector<xy> points;     // the path on the plane, in route order
    std::vector<lon_lat> geo;   // the same points on the Earth (with the file's heights)
    std::vector<double> along;  // metres from the route's start, per point
    struct place {
        std::size_t piece = 0;    // index in the pieces given
        double from = 0, to = 0;  // metres along the path
    };
    std::vector<place> places;  // where each piece lies on the path
    std::string start_note;     // which end the route starts from, and why
    double length() const { return along.empty() ? 0 : along.back(); }
};

// Joins `pieces` (projected: `plane[i]` for pieces[i]) into one path. Ends
// nearer than `gap` metres join; a branch (an end that two pieces could
// continue) or a piece left apart is an error naming the ends found with their
// coordinates. The path runs the way the file's first piece does.
result<joined_line> join_pieces(const std::vector<geo_piece>& pieces,
                                const std::vector<std::vector<xy>>& plane, double gap);

// What --start named: a station name, or a longitude and latitude.
struct start_choice {
    std::string station;  // empty: use `at` when `given`
    lon_lat at;
    bool given = false;
};

// Turns the path round when the start named lies nearer its far end, and says
// in `start_note` which end was taken. A station name not among `points` is an
// error.
result<void> choose_start(joined_line& line, const start_choice& start, const std::vector<geo_point>& points,
                          const local_projection& projection);

// "LON,LAT" as a start; anything else is a station's name.
start_choice parse_start(const std::string& text);

// "(lon, lat)" to seven decimals, for messages.
std::string describe(const lon_lat& p);

}  // namespace scenario::geodata
