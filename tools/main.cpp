// The `scenario` command-line tool; everything it does is in scenario_tool.
#include "tools/command_line.h"
#include "tools/commands/exit_status.h"
#include "tools/wide_arguments.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const int status = scenario::tool::run(scenario::tool::utf8_arguments(argc, argv), std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? status : scenario::tool::exit_status::usage;
}
