// The tool's entry: `scenario COMMAND ...`, with --help for the tool and for
// each command.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace scenario::strumento {

// Runs the command in `parole` (the arguments after the program name) and
// gives the exit status.
int esegui(const std::vector<std::string>& parole, std::ostream& out, std::ostream& err);

}  // namespace scenario::strumento
