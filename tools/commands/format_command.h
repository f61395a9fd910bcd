// `scenario format [KEYWORD]`: the format of the two text sources, from the
// readers' own keyword tables.
#pragma once

#include "tools/commands/command.h"

#include <ostream>
#include <string>
#include <vector>

namespace scenario::tool {

struct format_arguments {
    std::vector<std::string> words;  // the keyword asked about, word by word; none: every keyword
    bool json = false;
};
extern const char* const format_description;
int run_format(const format_arguments& a, std::ostream& out, std::ostream& err);

extern const command format_command;

}  // namespace scenario::tool
