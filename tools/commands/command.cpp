// Options that more than one command declares.
#include "tools/commands/command.h"

#include <CLI/CLI.hpp>

namespace scenario::tool {

void add_required(CLI::App& command, const char* name, std::string& value, const char* help,
                  const char* type) {
    command.add_option(name, value, help)->required()->type_name(type);
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
