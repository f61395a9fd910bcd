// A compiled scenario as GeoJSON in longitude and latitude: the route placed
// metre by metre along the plan's heading, with heights from its gradients,
// and its stations, signals, slowdowns and tunnels.
#pragma once

#include "common/result.h"

#include <filesystem>
#include <optional>
#include <string>

namespace scenario::geodata {

struct export_options {
    std::filesystem::path directory;  // the compiled files (and NAME_geo.json, when import wrote one there)
    std::string name, train;          // the scenario's names (checked)
    // Where the route starts and which way it heads (degrees clockwise from
    // north); when not given, from NAME_geo.json.
    std::optional<double> origin_lat, origin_lon, heading_deg;
    double start_height = 0;  // metres at the start, when the geo record gives none
};

struct export_result {
    std::string geojson;
    std::string placed_from;  // "NAME_geo.json" or "--origin and --heading"
};

result<export_result> export_geojson(const export_options& options);

// Why this build reads and writes no geodata (built without GDAL); empty when
// it does.
std::string geodata_missing();

}  // namespace scenario::geodata
