// `scenario new NAME NUMBER DIR`: a small, valid pair of text sources for a
// new scenario, with plain round values, to start from instead of the
// program's own 40 km route.
#pragma once

#include "common/result.h"
#include "tools/commands/command.h"
#include "tools/core/file_io.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace scenario::tool {

// NAME_linea.txt and NAME_NUMBER-.txt: Windows-1252 (plain ASCII), CR LF
// after every line.
using new_source = file_to_write;

// The line description and the run description of a new scenario: a 6 km
// line with two curves, a gradient, a tunnel with its name board, and a train
// that runs between two stations past one signal under two speed limits.
std::vector<new_source> new_scenario_sources(const std::string& name, const std::string& train);

struct new_arguments {
    std::string name;       // UTF-8
    std::string train;      // UTF-8
    std::string directory;  // UTF-8
    bool force = false;
};
extern const char* const new_description;
int run_new(const new_arguments& a, std::ostream& out, std::ostream& err);

extern const command new_command;

}  // namespace scenario::tool
