// `scenario export DIR --geojson FILE`: a compiled scenario as GeoJSON in
// longitude and latitude, for a map.
#pragma once

#include "tools/commands/command.h"

#include <ostream>
#include <string>
#include <vector>

namespace scenario::tool {

struct export_arguments {
    std::string directory;
    std::string geojson;
    std::string name, train;     // empty: from the compiled files in DIR
    std::vector<double> origin;  // LAT,LON
    double heading = 1000;       // above 360: not given
};
extern const char* const export_description;
int run_export(const export_arguments& a, std::ostream& out, std::ostream& err);

extern const command export_command;

}  // namespace scenario::tool
