// The tool's entry: `scenario COMMAND ...`, with --help for the tool and for
// each command, and --version.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace scenario::tool {

// Runs the command in `words` (the arguments after the program name, UTF-8)
// and gives the exit status.
int run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

}  // namespace scenario::tool
