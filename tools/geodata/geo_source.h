// What a geometry file holds for an import, in longitude and latitude: the
// pieces of line (with their tags) and the tagged points near them.
#pragma once

#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace scenario::geodata {

using tag_map = std::map<std::string, std::string>;  // key -> value, UTF-8

struct lon_lat {
    double lon = 0, lat = 0;
    double z = std::nan("");  // metres above sea level; NaN when the file gives none
};

// One piece of line as the file gives it: a way, a track segment, a
// LineString, one part of a MultiLineString.
struct geo_piece {
    std::vector<lon_lat> points;
    tag_map tags;
    int64_t id = 0;  // the OSM way id; 0 for other formats
};

// A tagged point: an OSM node, a GeoJSON Point feature, a KML placemark.
struct geo_point {
    lon_lat at;
    tag_map tags;
};

struct geo_source {
    std::string driver;  // GDAL's short name: "GeoJSON", "OSM", "GPX" ...
    std::vector<geo_piece> pieces;
    std::vector<geo_point> points;
    // Tagged lines that are not the route's pieces but may lie on it (an OSM
    // way of a relation's route carries the tunnel and speed tags).
    std::vector<geo_piece> tagged_lines;
};

// What to take from an OSM file: a route relation, the given ways, or
// (neither given) every railway way.
struct read_options {
    int64_t relation = 0;
    std::vector<int64_t> ways;
    // Larger KML files are refused: GDAL reads KML whole, at about seven times
    // the file's size in memory.
    uint64_t kml_limit_bytes = 20u * 1024u * 1024u;
};

}  // namespace scenario::geodata
