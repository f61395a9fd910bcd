// The scenario name and train number an author left out of the command line,
// taken from the names of the two text sources: NAME_linea.txt and
// NAME_NUMBER-.txt.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace scenario::tool {

struct scenario_names {
    std::string name;      // the scenario name, e.g. "Calvena_Roccalba"
    std::string train;     // the train number, e.g. "4127"
    bool guessed = false;  // at least one of them came from a file name
};

struct names_result {
    std::optional<scenario_names> names;
    std::string error;  // why they could not be found, when `names` is empty
};

// Completes `name` and `train` (either may be empty) from the file names.
// A given value is kept as it is; a missing one must follow from the names:
// the line file must end in "_linea.txt", the run file must be the scenario
// name, "_", the number and "-.txt".
names_result complete_names(const std::filesystem::path& line_file, const std::filesystem::path& run_file,
                            const std::string& name, const std::string& train);

// The sentence that tells the author what was taken from the file names.
std::string describe_guess(const scenario_names& n);

// Why a scenario name or train number cannot name files; nothing when it can.
std::optional<std::string> check_file_name(const std::string& what, const std::string& value);

}  // namespace scenario::tool
