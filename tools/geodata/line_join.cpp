// Joining pieces into one path: each free end of the path takes the one piece
// that starts within the gap, and more than one is a branch.
#include "tools/geodata/line_join.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>

namespace scenario::geodata {

std::string describe(const lon_lat& p) {
    char text[64];
    std::snprintf(text, sizeof text, "(%.7f, %.7f)", p.lon, p.lat);
    return text;
}

namespace {

double distance(const xy& a, const xy& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

struct link {
    std::size_t piece;
    bool reversed;
};

std::string metres(double m) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f m", m);
    return text;
}

}  // namespace

result<joined_line> join_pieces(const std::vector<geo_piece>& pieces,
                                const std::vector<std::vector<xy>>& plane, double gap) {
    std::vector<std::size_t> usable;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        if (plane[i].size() >= 2)
            usable.push_back(i);
    if (usable.empty())
        return failure{"the line has fewer than two points"};
    auto first_of = [&](const link& l) {
        return l.reversed ? plane[l.piece].back() : plane[l.piece].front();
    };
    auto last_of = [&](const link& l) { return l.reversed ? plane[l.piece].front() : plane[l.piece].back(); };
    auto geo_first = [&](const link& l) {
        return l.reversed ? pieces[l.piece].points.back() : pieces[l.piece].points.front();
    };
    auto geo_last = [&](const link& l) {
        return l.reversed ? pieces[l.piece].points.front() : pieces[l.piece].points.back();
    };

    std::vector<bool> used(pieces.size(), false);
    std::deque<link> chain{link{usable.front(), false}};
    used[usable.front()] = true;
    // The unused pieces with an end within the gap of `end`: (piece, whether
    // it joins by its last point).
    auto candidates = [&](const xy& end) {
        std::vector<std::pair<std::size_t, bool>> found;
        for (std::size_t i : usable) {
            if (used[i])
                continue;
            if (distance(plane[i].front(), end) <= gap)
                found.push_back({i, false});
            else if (distance(plane[i].back(), end) <= gap)
                found.push_back({i, true});
        }
        return found;
    };
    for (bool tail : {true, false}) {
        for (;;) {
            const link& end_link = tail ? chain.back() : chain.front();
            const xy end = tail ? last_of(end_link) : first_of(end_link);
            auto found = candidates(end);
            if (found.empty())
                break;
            if (found.size() > 1) {
                const lon_lat at = tail ? geo_last(end_link) : geo_first(end_link);
                std::string m = "the line is not one path: it branches at " + describe(at) + " into";
                for (auto [i, by_last] : found)
                    m += " a piece towards " +
                         describe(by_last ? pieces[i].points.front() : pieces[i].points.back()) + ",";
                m.back() = ';';
                return failure{m +
                               " name the line with --relation or --ways, or cut the branch from the file"};
            }
            auto [i, by_last] = found.front();
            used[i] = true;
            // At the tail a piece joining by its last point runs backwards; at
            // the head one joining by its first point does.
            if (tail)
                chain.push_back(link{i, by_last});
            else
                chain.push_front(link{i, !by_last});
        }
    }
    std::vector<std::size_t> apart;
    for (std::size_t i : usable)
        if (!used[i])
            apart.push_back(i);
    if (!apart.empty()) {
        const lon_lat a = geo_first(chain.front()), b = geo_last(chain.back());
        const xy pa = first_of(chain.front()), pb = last_of(chain.back());
        std::string m = "the line is not one path: the joined path runs from " + describe(a) + " to " +
                        describe(b) + ", and " + std::to_string(apart.size()) +
                        (apart.size() == 1 ? " piece does" : " pieces do") + " not join it within " +
                        metres(gap) + ":";
        for (std::size_t k = 0; k < apart.size() && k < 5; ++k) {
            const std::size_t i = apart[k];
            const double d = std::min({distance(plane[i].front(), pa), distance(plane[i].front(), pb),
                                       distance(plane[i].back(), pa), distance(plane[i].back(), pb)});
            m += " ends " + describe(pieces[i].points.front()) + " and " + describe(pieces[i].points.back()) +
                 " (" + metres(d) + " from the path's nearest end);";
        }
        m.back() = ';';
        return failure{m + " raise --join-gap or fix the file"};
    }

    joined_line out;
    for (const link& l : chain) {
        const auto& p = plane[l.piece];
        const auto& g = pieces[l.piece].points;
        const std::size_t n = p.size();
        const double from = out.along.empty() ? 0.0 : out.along.back();
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t j = l.reversed ? n - 1 - k : k;
            if (!out.points.empty()) {
                const double step = distance(out.points.back(), p[j]);
                if (step < 0.001)
                    continue;  // the shared point of two pieces, or a repeated one
                out.along.push_back(out.along.back() + step);
            } else {
                out.along.push_back(0);
            }
            out.points.push_back(p[j]);
            out.geo.push_back(g[j]);
        }
        out.places.push_back(joined_line::place{l.piece, from, out.along.back()});
    }
    if (out.points.size() < 2)
        return failure{"the line has fewer than two distinct points"};
    out.start_note = "from " + describe(out.geo.front()) + ", the end the file's first piece runs from";
    return out;
}

start_choice parse_start(const std::string& text) {
    start_choice c;
    c.given = !text.empty();
    double lon = 0, lat = 0;
    char rest = 0;
    if (std::sscanf(text.c_str(), " %lf , %lf %c", &lon, &lat, &rest) == 2 && std::isfinite(lon) &&
        std::isfinite(lat)) {
        c.at = lon_lat{lon, lat};
        return c;
    }
    c.station = text;
    return c;
}

namespace {

std::string fold(const std::string& s) {
    std::string out;
    for (char c : s)
        out += char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

void turn_round(joined_line& line) {
    const double length = line.length();
    std::reverse(line.points.begin(), line.points.end());
    std::reverse(line.geo.begin(), line.geo.end());
    std::reverse(line.along.begin(), line.along.end());
    for (double& a : line.along)
        a = length - a;
    for (auto& p : line.places)
        p = joined_line::place{p.piece, length - p.to, length - p.from};
}

}  // namespace

result<void> choose_start(joined_line& line, const start_choice& start, const std::vector<geo_point>& points,
                          const local_projection& projection) {
    if (!start.given)
        return {};
    lon_lat at = start.at;
    std::string what = "the point " + describe(at) + " given by --start";
    if (!start.station.empty()) {
        auto it = std::find_if(points.begin(), points.end(), [&](const geo_point& p) {
            auto n = p.tags.find("name");
            return n != p.tags.end() && fold(n->second) == fold(start.station);
        });
        if (it == points.end())
            return failure{"--start: no station named '" + start.station +
                           "' in the file (give its name as tagged, or LON,LAT)"};
        at = it->at;
        what = "the station " + start.station + " given by --start";
    }
    auto p = projection.forward({at});
    if (!p)
        return failure{p.error()};
    const xy q = p->front();
    const bool far = distance(q, line.points.back()) < distance(q, line.points.front());
    if (far)
        turn_round(line);
    line.start_note = "from " + describe(line.geo.front()) + ", the end nearer " + what;
    return {};
}

}  // namespace scenario::geodata
