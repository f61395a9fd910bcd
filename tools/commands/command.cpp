// Options that more than one command declares.
#include "tools/commands/command.h"

#include <CLI/CLI.hpp>

namespace scenario::tool {

void add_required(CLI::App& command, const char* name, std::string& value, const char* help,
                  const char* type) {
    command.add_option(name, value, help)->required()->type_name(type);
}

void add_source_options(CLI::App& command, std::string& line, std::string& run, std::string& name,
                        std::string& train) {
    add_required(command, "--line", line, "The line description text source", "FILE");
    add_required(command, "--run", run, "The run description text source", "FILE");
    command.add_option("--name", name, "The scenario name (default: from the file names)")->type_name("NAME");
    command.add_option("--train", train, "The train number (default: from the file names)")
        ->type_name("NUMBER");
}

void add_train_model_options(CLI::App& command, train_model& m) {
    command.add_option("--acceleration", m.acceleration, "The estimate's acceleration, m/s2 (default 0.5)")
        ->check(CLI::PositiveNumber)
        ->type_name("M/S2");
    command.add_option("--braking", m.braking, "The estimate's braking rate, m/s2 (default 0.5)")
        ->check(CLI::PositiveNumber)
        ->type_name("M/S2");
    command.add_option("--train-length", m.length, "The estimate's train length, m (default 100)")
        ->check(CLI::NonNegativeNumber)
        ->type_name("M");
}

}  // namespace scenario::tool
