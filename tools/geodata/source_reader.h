// Reads a geometry file with GDAL/OGR: its lines as pieces in longitude and
// latitude (whatever the file's coordinate system) and its tagged points.
#pragma once

#include "common/result.h"
#include "tools/geodata/geo_source.h"

#include <filesystem>

namespace scenario::geodata {

// Every format GDAL reads as vectors; OSM files give the relation, the ways or
// the railway ways that `options` asks for. Fails with a sentence naming the
// file: unreadable, no line, an unknown coordinate system, a coordinate that is
// not a number or not on the Earth, an id not in the file, a KML over the limit.
result<geo_source> read_geometry(const std::filesystem::path& file, const read_options& options);

// "a"=>"b","c"=>"d" (the OSM driver's other_tags) as key/value pairs.
tag_map parse_hstore(const std::string& text);

}  // namespace scenario::geodata
