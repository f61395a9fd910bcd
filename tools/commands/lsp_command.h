// `scenario lsp`: the language server an editor starts, on standard input
// and output, for diagnostics, hovers, completion, the outline and fixes as
// the author types.
#pragma once

#include "tools/commands/command.h"

#include <ostream>

namespace scenario::tool {

struct lsp_arguments {};
extern const char* const lsp_description;
int run_lsp(const lsp_arguments& a, std::ostream& out, std::ostream& err);

extern const command lsp_command;

}  // namespace scenario::tool
