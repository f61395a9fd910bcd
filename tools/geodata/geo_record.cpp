// The placing in and out of JSON.
#include "tools/geodata/geo_record.h"

#include <cmath>

namespace scenario::geodata {

nlohmann::ordered_json placing_json(const placing& p) {
    return {{"projection", p.projection},
            {"origin", {{"lon", p.origin.lon}, {"lat", p.origin.lat}}},
            {"origin_plane", {{"x", p.origin_plane.x}, {"y", p.origin_plane.y}}},
            {"heading_deg", p.heading_deg},
            {"start_height", p.start_height}};
}

result<placing> read_placing(const std::string& json_text) {
    try {
        const auto j = nlohmann::json::parse(json_text);
        const auto& q = j.at("placing");
        placing p;
        p.projection = q.at("projection").get<std::string>();
        p.origin = lon_lat{q.at("origin").at("lon").get<double>(), q.at("origin").at("lat").get<double>()};
        p.origin_plane =
            xy{q.at("origin_plane").at("x").get<double>(), q.at("origin_plane").at("y").get<double>()};
        p.heading_deg = q.at("heading_deg").get<double>();
        p.start_height = q.value("start_height", 0.0);
        if (!std::isfinite(p.heading_deg) || !std::isfinite(p.origin.lon) || !std::isfinite(p.origin.lat))
            return failure{"its placing holds a value that is not a number"};
        return p;
    } catch (const std::exception& e) {
        return failure{std::string("not a geo record written by import (") + e.what() + ")"};
    }
}

}  // namespace scenario::geodata
