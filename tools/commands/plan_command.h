// `scenario plan`: the compiled scenario drawn as an SVG picture.
#pragma once

#include "common/result.h"
#include "tools/render/svg_plan.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace scenario::tool {

// Reads the three compiled files of NAME and NUMBER in `directory`. The line
// file may be missing (a compile without the plan); the others must be there.
struct plan_read {
    plan_data data;
    // Found but not fatal: the line file left out because it belongs to
    // another route.
    std::vector<std::string> warnings;
};
struct plan_read_failure {
    std::string message;
    bool invalid = false;  // a file is there but is not a valid compiled file
};

result<plan_read, plan_read_failure> read_compiled_scenario(const std::filesystem::path& directory,
                                                            const std::string& name,
                                                            const std::string& train);

struct plan_arguments {
    std::string name;       // empty: from the compiled files in `directory`
    std::string train;      // likewise
    std::string directory;  // UTF-8
    std::string svg;        // UTF-8; "-" for standard output
};
extern const char* const plan_description;
int run_plan(const plan_arguments& a, std::ostream& out, std::ostream& err);

}  // namespace scenario::tool
