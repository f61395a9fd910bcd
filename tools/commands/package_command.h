// `scenario package`: the whole package of any scenario, the three compiled
// files and the driver's three documents, written into one directory.
#pragma once

#include "tools/commands/command.h"

#include <ostream>
#include <string>

namespace scenario::tool {

struct package_arguments {
    std::string line;  // UTF-8, as typed
    std::string run;
    std::string name;  // empty: from the file names
    std::string train;
    std::string out = ".";
    std::string details;  // empty: NAME_NUMBER_documenti.json beside the run description, if any
};
extern const char* const package_description;
int run_package(const package_arguments& a, std::ostream& out, std::ostream& err);

extern const command package_command;

}  // namespace scenario::tool
