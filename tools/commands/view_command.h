// `scenario view`: the scenario compiled in memory and shown on a local web
// page that follows the text sources as the author saves them.
#pragma once

#include "tools/commands/command.h"
#include "tools/words/running_estimate.h"

#include <ostream>
#include <string>

namespace scenario::view {

// The command's words, UTF-8.
struct view_arguments {
    std::string line;         // line description text source
    std::string run;          // run description text source
    std::string name;         // empty: from the line file's name
    std::string train;        // empty: from the run file's name
    int port = 0;             // 0: any free port
    std::string host;         // empty: 127.0.0.1
    bool open = false;        // open the page in the default browser
    tool::train_model model;  // the running-time estimate's train
};
extern const char* const view_description;
int run_view(const view_arguments& a, std::ostream& out, std::ostream& err);

extern const tool::command view_command;

}  // namespace scenario::view
