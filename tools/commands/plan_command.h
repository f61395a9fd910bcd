// `scenario plan`: the compiled scenario drawn as an SVG picture.
#pragma once

#include "common/result.h"
#include "tools/commands/command.h"
#include "tools/render/svg_plan.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace scenario::tool {

struct plan_arguments {
    std::string name;       // empty: from the compiled files in `directory`
    std::string train;      // likewise
    std::string directory;  // UTF-8
    std::string svg;        // UTF-8; "-" for standard output
};
extern const char* const plan_description;
int run_plan(const plan_arguments& a, std::ostream& out, std::ostream& err);

extern const command plan_command;

}  // namespace scenario::tool
