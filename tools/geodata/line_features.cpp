// Tags into draft items: pieces give stretches (tunnels, bridges, speeds),
// points are projected onto the route and kept when near enough.
#include "tools/geodata/line_features.h"

#include "compiler/cell_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace scenario::geodata {

on_path project_onto(const std::vector<xy>& path, const std::vector<double>& along, const xy& p) {
    on_path best{0, INFINITY};
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const double dx = path[i + 1].x - path[i].x, dy = path[i + 1].y - path[i].y;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((p.x - path[i].x) * dx + (p.y - path[i].y) * dy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double off = std::hypot(path[i].x + t * dx - p.x, path[i].y + t * dy - p.y);
        if (off < best.off)
            best = on_path{along[i] + t * (along[i + 1] - along[i]), off};
    }
    return best;
}

std::optional<int> parse_maxspeed(const std::string& value) {
    double v = 0;
    char unit[8] = {};
    const int n = std::sscanf(value.c_str(), " %lf %7s", &v, unit);
    if (n < 1 || !std::isfinite(v) || v <= 0 || v > 500)
        return std::nullopt;
    if (n == 2 && std::string(unit) == "mph")
        v *= 1.609344;
    const int kmh = int(std::floor(v / 5)) * 5;
    if (kmh <= 0)
        return std::nullopt;
    return kmh;
}

namespace {

std::string get(const tag_map& t, const char* key) {
    auto it = t.find(key);
    return it == t.end() ? std::string() : it->second;
}

bool yes(const std::string& v) {
    return !v.empty() && v != "no" && v != "false" && v != "0";
}

std::string metres(double m) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f m", m);
    return text;
}

struct stretch {
    double from, to;
    std::string name;
};

// Stretches that touch become one; the first name given is kept.
std::vector<stretch> merged(std::vector<stretch> s) {
    std::sort(s.begin(), s.end(), [](const stretch& a, const stretch& b) { return a.from < b.from; });
    std::vector<stretch> out;
    for (stretch& x : s) {
        if (!out.empty() && x.from <= out.back().to + 1) {
            out.back().to = std::max(out.back().to, x.to);
            if (out.back().name.empty())
                out.back().name = x.name;
        } else {
            out.push_back(std::move(x));
        }
    }
    return out;
}

// A railway:position value in km: "12.3", "12,3", "pkm:12.3".
std::optional<double> parse_position(std::string v) {
    std::replace(v.begin(), v.end(), ',', '.');
    const auto colon = v.find(':');
    if (colon != std::string::npos)
        v = v.substr(colon + 1);
    char* end = nullptr;
    const double km = std::strtod(v.c_str(), &end);
    if (end == v.c_str() || !std::isfinite(km) || km < 0 || km > 100000)
        return std::nullopt;
    return km;
}

std::string fixed_km(double km) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", km);
    return text;
}

}  // namespace

line_features read_features(const geo_source& source, const joined_line& line,
                            const std::vector<xy>& plane_points,
                            const std::vector<std::vector<xy>>& plane_lines, const feature_options& options) {
    line_features f;
    std::vector<stretch> tunnels, level;
    std::vector<std::pair<double, std::string>> speed_tags;  // from, maxspeed as tagged
    for (const joined_line::place& place : line.places) {
        const tag_map& tags = source.pieces[place.piece].tags;
        const bool tunnel = yes(get(tags, "tunnel")) && get(tags, "tunnel") != "culvert";
        const bool bridge = yes(get(tags, "bridge"));
        if (tunnel) {
            std::string name = get(tags, "tunnel:name");
            if (name.empty())
                name = get(tags, "name");
            tunnels.push_back(stretch{place.from, place.to, name});
        }
        if (tunnel || bridge)
            level.push_back(stretch{place.from, place.to, {}});
        const std::string speed = get(tags, "maxspeed");
        if (!speed.empty())
            speed_tags.push_back({place.from, speed});
    }
    // Lines beside the route's pieces (a file's tunnel features) count where
    // both their ends lie on the route. An OSM relation's ways gave their tags
    // to its parts already.
    if (source.driver != "OSM") {
        for (std::size_t i = 0; i < source.tagged_lines.size(); ++i) {
            const geo_piece& piece = source.tagged_lines[i];
            const bool tunnel = yes(get(piece.tags, "tunnel"));
            if ((!tunnel && !yes(get(piece.tags, "bridge"))) || i >= plane_lines.size() ||
                plane_lines[i].size() < 2)
                continue;
            const on_path a = project_onto(line.points, line.along, plane_lines[i].front());
            const on_path b = project_onto(line.points, line.along, plane_lines[i].back());
            if (a.off > options.on_line || b.off > options.on_line)
                continue;
            const stretch s{std::min(a.along, b.along), std::max(a.along, b.along),
                            get(piece.tags, "tunnel:name").empty() ? get(piece.tags, "name")
                                                                   : get(piece.tags, "tunnel:name")};
            if (tunnel)
                tunnels.push_back(s);
            level.push_back(stretch{s.from, s.to, {}});
        }
    }
    for (const stretch& s : merged(level))
        f.level_spans.push_back(fit::span{s.from, s.to});
    for (const stretch& s : merged(tunnels)) {
        f.tunnels.push_back(
            fit::draft_tunnel{int64_t(std::nearbyint(s.from)), int64_t(std::nearbyint(s.to)), s.name});
        f.taken.push_back("tunnel " + (s.name.empty() ? std::string("(no name)") : s.name) + " from " +
                          metres(s.from) + " to " + metres(s.to));
    }
    std::sort(speed_tags.begin(), speed_tags.end());
    for (const auto& [from, text] : speed_tags) {
        auto kmh = parse_maxspeed(text);
        if (!kmh) {
            f.dropped.push_back(
                fit::dropped{"maxspeed=" + text + " at " + metres(from), "not a speed in km/h or mph"});
            continue;
        }
        if (!f.speeds.empty() && f.speeds.back().kmh == *kmh)
            continue;
        f.speeds.push_back(fit::draft_speed{int64_t(std::nearbyint(from)), *kmh});
        f.taken.push_back("speed limit " + std::to_string(*kmh) + " km/h from " + metres(from) +
                          " (maxspeed=" + text + ")");
    }

    // Stations by name: a stop position on the track beats the station's node.
    struct found_station {
        double along;
        bool stop_position;
    };
    std::map<std::string, found_station> stations;
    std::vector<std::string> station_order;
    std::vector<std::pair<double, double>> milestones;  // along, km
    int far_stations = 0;
    for (std::size_t i = 0; i < source.points.size(); ++i) {
        const tag_map& tags = source.points[i].tags;
        const std::string railway = get(tags, "railway");
        const bool stop = get(tags, "public_transport") == "stop_position";
        const bool is_station = railway == "station" || railway == "halt" || stop;
        const bool is_signal = railway == "signal";
        const std::string position = get(tags, "railway:position");
        if (!is_station && !is_signal && position.empty())
            continue;
        const on_path at = project_onto(line.points, line.along, plane_points[i]);
        if (is_station) {
            const std::string name = get(tags, "name");
            if (at.off > options.station_distance) {
                ++far_stations;
                continue;
            }
            if (name.empty()) {
                f.dropped.push_back(
                    fit::dropped{"a station or halt at " + metres(at.along), "it has no name"});
                continue;
            }
            auto it = stations.find(name);
            if (it == stations.end()) {
                stations[name] = found_station{at.along, stop};
                station_order.push_back(name);
            } else if (stop && !it->second.stop_position) {
                it->second = found_station{at.along, true};
            }
        } else if (is_signal && at.off <= options.on_line) {
            f.signals.push_back(fit::draft_signal{int64_t(std::nearbyint(at.along))});
            f.taken.push_back("signal at " + metres(at.along) +
                              (get(tags, "ref").empty() ? std::string() : " (" + get(tags, "ref") + ")"));
        }
        if (!position.empty() && at.off <= options.on_line) {
            if (auto km = parse_position(position))
                milestones.push_back({at.along, *km});
            else
                f.dropped.push_back(fit::dropped{"railway:position=" + position, "not a km value"});
        }
    }
    if (far_stations > 0)
        f.dropped.push_back(
            fit::dropped{std::to_string(far_stations) + " station or halt node(s)",
                         "farther than " + metres(options.station_distance) + " from the line"});
    for (const std::string& name : station_order) {
        fit::draft_station s;
        s.name = name;
        s.position = int64_t(std::nearbyint(stations[name].along));
        f.stations.push_back(s);
    }
    std::sort(
        f.stations.begin(), f.stations.end(),
        [](const fit::draft_station& a, const fit::draft_station& b) { return a.position < b.position; });
    for (const auto& s : f.stations)
        f.taken.push_back("station " + s.name + " at " + metres(double(s.position)));
    std::sort(f.signals.begin(), f.signals.end(),
              [](const fit::draft_signal& a, const fit::draft_signal& b) { return a.position < b.position; });

    if (!milestones.empty()) {
        std::sort(milestones.begin(), milestones.end());
        const auto [along, km] = milestones.front();
        // The posts count up along the route unless two of them say otherwise.
        const bool down = milestones.size() >= 2 && milestones.back().second < km;
        const double first = down ? km * 1000 + along : km * 1000 - along;
        if (down || first < 0) {
            f.dropped.push_back(
                fit::dropped{"the km posts (railway:position)",
                             down ? "they count down along the route; start it from the other end "
                                    "(--start) to use them"
                                  : "they put the route's start before km 0"});
        } else {
            f.start_km_m = route::nearest_cell_start(first);
            f.taken.push_back("first km post " + std::to_string(*f.start_km_m) +
                              " m, from railway:position=" + fixed_km(km) + " at " + metres(along));
        }
    }
    return f;
}

}  // namespace scenario::geodata
