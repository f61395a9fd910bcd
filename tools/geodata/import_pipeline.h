// `scenario import`'s work: a geometry file read, joined, projected and given
// heights; the fit; the draft's items from tags; a draft timetable from the
// running-time estimate; the files to write and the report.
#pragma once

#include "common/result.h"
#include "tools/core/file_io.h"
#include "tools/fit/draft_sources.h"
#include "tools/geodata/geo_source.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace scenario::geodata {

struct import_options {
    std::filesystem::path geometry;
    std::string name, train;  // checked to name files
    std::vector<std::filesystem::path> dems;
    read_options read;
    std::string start;  // a station's name or LON,LAT; empty: the file's first point
    double join_gap = 25;
    fit::fit_options fit;
    double station_distance = 150;
    std::optional<double> start_km;  // --start-km, km
    int32_t departure = 8 * 3600;    // seconds after midnight
    double margin_percent = 5;
};

struct import_result {
    // NAME_linea.txt, NAME_NUMBER-.txt, NAME_import.txt and NAME_geo.json.
    std::vector<tool::file_to_write> files;
    nlohmann::ordered_json report;  // the report as data
    std::string report_text;        // the same in words
};

// Everything in memory: nothing is written, so an error leaves no file.
result<import_result> import_line(const import_options& options);

// The name of the file `import` keeps the route's placing in.
std::string geo_record_name(const std::string& name);

}  // namespace scenario::geodata
