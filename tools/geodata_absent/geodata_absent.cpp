// The build without GDAL (the Windows tool, the release build): import and
// export say so in one line.
#include "tools/geodata/import_pipeline.h"
#include "tools/geodata/route_export.h"

namespace scenario::geodata {

namespace {
const char* const no_gdal =
    "this build of the tool has no GDAL, so it reads and writes no geodata; use a Linux build with GDAL "
    "(libgdal-dev: the ci build, or the release build with -DSCENARIO_GDAL=AUTO)";
}

std::string geo_record_name(const std::string& name) {
    return name + "_geo.json";
}

std::string geodata_missing() {
    return no_gdal;
}

result<import_result> import_line(const import_options&) {
    return failure{no_gdal};
}

result<export_result> export_geojson(const export_options&) {
    return failure{no_gdal};
}

}  // namespace scenario::geodata
