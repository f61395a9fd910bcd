// Two text sources compiled in memory for commands that show what they
// compile to: nothing is written, and the compile's log says which source
// line placed each cell and record.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/error_codes.h"
#include "compiler/state.h"
#include "tools/report/diagnostics.h"
#include "tools/report/scenario_names.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace scenario::tool {

struct memory_compile {
    // Why the compile could not run (unreadable source, names not given).
    std::optional<std::string> failure;
    scenario_names names;
    bool plan = true;
    std::unique_ptr<stato_scenario> state;
    compile_log log;
    std::optional<error_code> stamp;  // a fatal stamp error: nothing would be written
    std::vector<diagnosis> errors;    // every recorded error, in words
};

// Compiles the two files as `scenario compile` would, with the name and
// number completed from the file names where not given.
memory_compile compile_in_memory(const std::filesystem::path& line, const std::filesystem::path& run,
                                 const std::string& name, const std::string& train, bool plan);

}  // namespace scenario::tool
