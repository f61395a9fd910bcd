// The one in-memory compile of two text sources, for every command that
// compiles: nothing is written, and the compile's log says which source line
// placed each cell and record. Commands add their own steps around it
// (writing the files, timing, warnings).
#pragma once

#include "common/result.h"
#include "compiler/compile_log.h"
#include "compiler/compile_options.h"
#include "compiler/error_codes.h"
#include "compiler/state.h"
#include "tools/core/scenario_names.h"
#include "tools/words/diagnostics.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace scenario::tool {

struct compiled_sources {
    scenario_names names;
    bool plan = true;       // false: compiled without the track plan (j = 0)
    std::string line_text;  // the bytes compiled
    std::string run_text;
    std::unique_ptr<stato_scenario> state = std::make_unique<stato_scenario>();
    compile_log log;
    std::optional<error_code> stamp;  // a fatal stamp error: nothing would be written
    std::vector<diagnosis> errors;    // every recorded error, in words
};

// Compiles two texts exactly as the program compiles its sources; `options`
// only limit it (a fuzz target's plan limit) or say what the log keeps.
compiled_sources compile_texts(std::string line_text, std::string run_text, const scenario_names& names,
                               bool plan, const compile_options& options = {});

// Reads the two sources and compiles them; fails only when a source cannot be
// read.
result<compiled_sources> compile_files(const named_sources& sources, bool plan,
                                       const compile_options& options = {});

}  // namespace scenario::tool
