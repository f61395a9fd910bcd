// `scenario import GEOMETRY --name NAME --train NUMBER`: a draft scenario's two
// text sources fitted to a real line's geometry and heights.
#pragma once

#include "tools/commands/command.h"

#include <ostream>
#include <string>
#include <vector>

namespace scenario::tool {

struct import_arguments {
    std::string geometry;  // UTF-8
    std::string name, train;
    std::string out = ".";
    std::vector<std::string> dems;
    bool json = false;
    long long relation = 0;
    std::vector<long long> ways;
    std::string start;
    double join_gap = 25;
    std::vector<double> height_tolerance;  // RMS[,MAX]
    double station_distance = 150;
    double start_km = -1;  // below 0: not given
    std::string departure = "08:00";
    double margin = 5;
};
extern const char* const import_description;
int run_import(const import_arguments& a, std::ostream& out, std::ostream& err);

extern const command import_command;

}  // namespace scenario::tool
