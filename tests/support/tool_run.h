// The tool run in-process as from its command line: its exit status and what
// it printed on standard output and standard error.
#pragma once

#include "tools/command_line.h"

#include <sstream>
#include <string>
#include <vector>

namespace scenario::test_support {

struct command_output {
    int status;
    std::string out;
    std::string err;
};

inline command_output run_tool(const std::vector<std::string>& words) {
    std::ostringstream o, e;
    const int status = tool::run(words, o, e);
    return {status, o.str(), e.str()};
}

}  // namespace scenario::test_support
