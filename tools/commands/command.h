// One row of the tool's command table: a command's name, its summary in the
// command list, its help, and how it declares its options and runs.
#pragma once

#include "tools/words/running_estimate.h"

#include <functional>
#include <ostream>
#include <string>

namespace CLI {
class App;
}

namespace scenario::tool {

// What runs a command once its options are parsed; gives the exit status.
using command_run = std::function<int(std::ostream& out, std::ostream& err)>;

struct command {
    const char* name;
    const char* summary;      // one line, in the tool's list of commands
    const char* description;  // the command's own help, before its options
    // Declares the command's options on `app`, bound to values the returned
    // run keeps, and gives that run.
    command_run (*declare)(CLI::App& app);
};

// An option or positional that must be given, shown in help with `type`
// ("" for none).
void add_required(CLI::App& command, const char* name, std::string& value, const char* help,
                  const char* type);

// --line and --run, required, and --name and --train, taken from the file
// names when left out: the two text sources of the commands that compile.
void add_source_options(CLI::App& command, std::string& line, std::string& run, std::string& name,
                        std::string& train);

// The running-time estimate's train: every figure the author may set.
void add_train_model_options(CLI::App& command, train_model& m);

}  // namespace scenario::tool
