// `scenario view`: the scenario compiled in memory and shown on a local web
// page that follows the text sources as the author saves them.
#pragma once

#include "tools/arguments.h"

#include <ostream>

namespace scenario::view {

extern const strumento::opzioni_ammesse view_options;
extern const char* const view_help;
int view_command(const strumento::argomenti& a, std::ostream& out, std::ostream& err);

}  // namespace scenario::view
