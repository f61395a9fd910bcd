// The export: the compiled files read, the plan walked at unit steps, placed
// on a local plane and turned back into longitude and latitude.
#include "tools/geodata/route_export.h"

#include "compiler/compiled_files.h"
#include "compiler/gradient_profile.h"
#include "compiler/route_facts.h"
#include "compiler/source_store.h"
#include "tools/core/compiled_reader.h"
#include "tools/core/file_io.h"
#include "tools/geodata/geo_record.h"
#include "tools/geodata/import_pipeline.h"
#include "tools/geodata/route_walk.h"
#include "tools/words/text_encoding.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <system_error>

namespace scenario::geodata {

namespace fs = std::filesystem;

namespace {

struct compiled {
    std::vector<cella> celle;
    std::array<voce, numero_voci> voci{};
    tracciato_linea plan;  // empty without a line file, or with one of another route: drawn straight
};

// The scenario's compiled files, through the tool's one reader of them.
result<compiled> read_compiled(const export_options& o) {
    auto read = tool::read_compiled_scenario(o.directory, o.name, o.train);
    if (!read)
        return failure{read.error().message};
    compiled c;
    c.celle = std::move(read->celle);
    c.voci = read->voci;
    if (read->tracciato)
        c.plan = std::move(*read->tracciato);
    return c;
}

// Heights every metre, from the route's one gradient profile: within a cell
// the gradient is constant, so the height runs straight between its ends.
std::vector<double> heights_every_metre(const std::vector<cella>& celle, int64_t length, double start) {
    const route::gradient_profile profile = route::profile_of(celle, length);
    std::vector<double> h(std::size_t(length) + 1, start);
    std::size_t k = 0;
    for (int64_t m = 0; m <= length; ++m) {
        while (k + 2 < profile.heights.size() && profile.heights[k + 1].first < m)
            ++k;
        if (k + 1 >= profile.heights.size())
            break;
        const auto [from, low] = profile.heights[k];
        const auto [to, high] = profile.heights[k + 1];
        const double along = to > from ? double(m - from) / double(to - from) : 0.0;
        h[std::size_t(m)] = start + low + (high - low) * along;
    }
    return h;
}

nlohmann::json point_feature(const lon_lat& p, nlohmann::json properties) {
    return {{"type", "Feature"},
            {"geometry", {{"type", "Point"}, {"coordinates", {p.lon, p.lat}}}},
            {"properties", std::move(properties)}};
}

nlohmann::json line_feature(const std::vector<lon_lat>& all, int64_t from, int64_t to,
                            nlohmann::json properties) {
    nlohmann::json coordinates = nlohmann::json::array();
    from = std::clamp<int64_t>(from, 0, int64_t(all.size()) - 1);
    to = std::clamp<int64_t>(to, from, int64_t(all.size()) - 1);
    for (int64_t m = from; m <= to; ++m)
        coordinates.push_back({all[std::size_t(m)].lon, all[std::size_t(m)].lat});
    return {{"type", "Feature"},
            {"geometry", {{"type", "LineString"}, {"coordinates", coordinates}}},
            {"properties", std::move(properties)}};
}

// The name in a tunnel board's "(NAME)(LENGTH m.)".
std::string board_name(const std::string& text) {
    const auto open = text.find('('), close = text.find(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return text;
    return text.substr(open + 1, close - open - 1);
}

// The placing on a projection centred on the route placed by `start` (a
// projection centred on its origin): the same origin on the Earth, the same
// heading from true north there.
result<placing> centre_on_route(const std::vector<xy>& walked, const placing& start) {
    auto first = local_projection::from_definition(start.projection);
    if (!first)
        return failure{first.error()};
    auto earth = first->inverse(place_route(walked, start.origin_plane, start.heading_deg));
    if (!earth)
        return failure{earth.error()};
    const lon_lat centre = centre_of({geo_piece{*earth, {}, 0}});
    auto second = local_projection::centred_on(centre.lon, centre.lat);
    if (!second)
        return failure{second.error()};
    // True north at the origin, as a bearing on the new plane.
    auto ends = second->forward({start.origin, lon_lat{start.origin.lon, start.origin.lat + 1e-4}});
    if (!ends)
        return failure{ends.error()};
    const xy a = (*ends)[0], b = (*ends)[1];
    placing p = start;
    p.projection = second->definition();
    p.origin_plane = a;
    p.heading_deg = start.heading_deg + std::atan2(b.x - a.x, b.y - a.y) * 180 / M_PI;
    return p;
}

}  // namespace

std::string geodata_missing() {
    return {};
}

result<export_result> export_geojson(const export_options& o) {
    auto c = read_compiled(o);
    if (!c)
        return failure{c.error()};
    export_result out;
    placing place;
    place.start_height = o.start_height;
    const bool given = o.origin_lat && o.origin_lon && o.heading_deg;
    if (given) {
        if (std::abs(*o.origin_lat) > 90 || std::abs(*o.origin_lon) > 180 || !std::isfinite(*o.heading_deg))
            return failure{"--origin must be a latitude and a longitude on the Earth, --heading degrees"};
        auto p = local_projection::centred_on(*o.origin_lon, *o.origin_lat);
        if (!p)
            return failure{p.error()};
        place.projection = p->definition();
        place.origin = lon_lat{*o.origin_lon, *o.origin_lat};
        place.heading_deg = *o.heading_deg;
        out.placed_from = "--origin and --heading";
    } else {
        const fs::path record = percorso_in(o.directory, geo_record_name(o.name));
        auto text = tool::read_file(record);
        if (!text)
            return failure{"give --origin LAT,LON and --heading DEG: there is no " + geo_record_name(o.name) +
                           " in the directory to place the route (" + text.error() + ")"};
        auto p = read_placing(*text);
        if (!p)
            return failure{tool::display_path(record) + ": " + p.error()};
        place = *p;
        out.placed_from = geo_record_name(o.name);
    }
    const int64_t length = route::route_length(c->celle, c->voci);
    if (length <= 0)
        return failure{"the compiled route has no length"};
    const std::vector<xy> walked = walk_route(c->plan, length);
    if (given) {
        // Centred on the route rather than on its start, as `import` centres
        // on a line: a metre of the plane stays a metre on the ground along
        // the whole route, and an export imported back meets the same plane.
        auto recentred = centre_on_route(walked, place);
        if (!recentred)
            return failure{recentred.error()};
        place = *recentred;
    }
    auto projection = local_projection::from_definition(place.projection);
    if (!projection)
        return failure{projection.error()};
    const std::vector<xy> plane = place_route(walked, place.origin_plane, place.heading_deg);
    auto earth = projection->inverse(plane);
    if (!earth)
        return failure{earth.error()};
    const std::vector<double> heights = heights_every_metre(c->celle, length, place.start_height);
    const int64_t km0 = route::first_progressive_metres(c->voci);
    auto km = [&](int64_t position) { return double(km0 + position) / 1000; };

    nlohmann::json features = nlohmann::json::array();
    nlohmann::json route = nlohmann::json::array();
    for (std::size_t m = 0; m < earth->size(); ++m)
        route.push_back({(*earth)[m].lon, (*earth)[m].lat, std::nearbyint(heights[m] * 1000) / 1000});
    features.push_back(
        {{"type", "Feature"},
         {"geometry", {{"type", "LineString"}, {"coordinates", route}}},
         {"properties", {{"kind", "route"}, {"name", o.name}, {"length", length}, {"km", km(0)}}}});
    auto at = [&](int64_t position) {
        return (*earth)[std::size_t(std::clamp<int64_t>(position, 0, length))];
    };
    for (const route::station& s : route::stations(c->celle, c->voci))
        features.push_back(point_feature(at(s.position), {{"kind", "station"},
                                                          {"railway", "station"},
                                                          {"name", tool::from_windows1252(s.name)},
                                                          {"position", s.position},
                                                          {"km", km(s.position)}}));
    for (const route::signal& s : route::signals(c->celle))
        features.push_back(point_feature(
            at(s.position),
            {{"kind", "signal"}, {"railway", "signal"}, {"position", s.position}, {"km", km(s.position)}}));
    for (const route::slowdown& s : route::slowdowns(c->celle))
        features.push_back(line_feature(
            *earth, s.from, s.to,
            {{"kind", "slowdown"}, {"speed", s.speed}, {"from", s.from}, {"to", s.to}, {"km", km(s.from)}}));
    const auto boards = route::tunnel_boards(c->celle, c->voci);
    for (const route::tunnel& t : route::tunnels(c->celle, length)) {
        std::string name;
        for (const route::board& b : boards)
            if (b.position <= t.from && b.position >= t.from - 100)
                name = board_name(tool::from_windows1252(b.text));
        features.push_back(line_feature(*earth, t.from, t.to,
                                        {{"kind", "tunnel"},
                                         {"name", name},
                                         {"from", t.from},
                                         {"to", t.to},
                                         {"km", km(t.from)},
                                         {"class", t.tunnel_class}}));
    }
    nlohmann::json doc{{"type", "FeatureCollection"}, {"features", features}};
    // Full precision: a route exported and imported back must turn as before.
    out.geojson = doc.dump() + "\n";
    return out;
}

}  // namespace scenario::geodata
