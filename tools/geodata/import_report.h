// The import report: the fit's figures, what came from tags and what was
// dropped, the draft timetable; as JSON and in words. And the geo record's
// content.
#pragma once

#include "tools/core/memory_compile.h"
#include "tools/fit/draft_sources.h"
#include "tools/geodata/geo_record.h"
#include "tools/geodata/geo_source.h"
#include "tools/geodata/import_pipeline.h"
#include "tools/geodata/line_features.h"
#include "tools/geodata/line_join.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace scenario::geodata {

struct import_notes {
    std::string start;    // which end the route starts from
    std::string heights;  // where the heights came from
    std::vector<std::string> warnings;
};

struct report_inputs {
    const import_options& options;
    const geo_source& source;
    const joined_line& line;
    const line_features& features;
    const fit::draft& draft;
    const fit::draft_result& written;
    const tool::compiled_sources& compiled;
    const import_notes& notes;
    const placing& place;
    const std::vector<lon_lat>& source_line;
    const std::vector<xy>& source_plane;  // the same points on the local plane
};

nlohmann::ordered_json report_json(const report_inputs& in);
std::string report_text(const nlohmann::ordered_json& report);

// NAME_geo.json: the placing, the source's line (longitude, latitude) and the
// report's main figures.
nlohmann::ordered_json geo_record_json(const report_inputs& in);

}  // namespace scenario::geodata
