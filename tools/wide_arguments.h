// The command-line words as UTF-8, whatever the platform's own encoding of
// them, so every path the tool opens can be taken from UTF-8.
#pragma once

#include <string>
#include <vector>

namespace scenario::tool {

// The words after the program name. On Windows they come from the wide
// command line (the narrow argv holds them in the system code page, which
// cannot hold every file name); elsewhere argv is UTF-8 already.
std::vector<std::string> utf8_arguments(int argc, char** argv);

}  // namespace scenario::tool
