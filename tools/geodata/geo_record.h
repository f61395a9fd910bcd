// NAME_geo.json: where `import` laid the route on the Earth (the local
// projection, the route's start, the plan's heading) and the source's line,
// for `export` and the page. Plain JSON: no GDAL is needed to read it.
#pragma once

#include "common/result.h"
#include "tools/geodata/geo_source.h"
#include "tools/geodata/local_projection.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace scenario::geodata {

struct placing {
    std::string projection;   // PROJ string of the local plane
    lon_lat origin;           // the route's start on the Earth
    xy origin_plane;          // the same on the local plane
    double heading_deg = 0;   // the plan's +y, clockwise from the plane's north
    double start_height = 0;  // metres above sea level at the route's start
};

nlohmann::ordered_json placing_json(const placing& p);

// The placing kept in a geo record's JSON text.
result<placing> read_placing(const std::string& json_text);

}  // namespace scenario::geodata
