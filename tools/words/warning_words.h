// The warnings a compile noted, in the author's words: what the compiler did
// with a line it read without an error.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/state.h"
#include "tools/words/diagnostics.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario::tool {

struct worded_warning {
    warning_code code = warning_code::unknown_keyword;
    std::optional<sorgente_testo> source;  // none: about the command line (the scenario name)
    int32_t line = 0;                      // 1-based; 0 when not tied to a line
    int32_t first_column = 0;              // 1-based byte columns; 0 when not known
    int32_t last_column = 0;
    std::string message;
    std::vector<related_place> related;  // the other line a warning is about
    // Warnings that follow from this one (its line misread the lines after
    // it), in report order; empty for most.
    std::vector<worded_warning> consequences;
};

struct worded_warnings {
    // In the order found, the ignored codes left out, consequences folded
    // under their cause, warnings that restate an error dropped.
    std::vector<worded_warning> list;
    // Per code, the warnings found beyond those described (the compile keeps
    // a limited number of each).
    std::vector<std::pair<warning_code, uint32_t>> not_shown;
};

worded_warnings word_warnings(const stato_scenario& s, const compile_log& log,
                              const std::vector<warning_code>& ignored);

// The warnings with their consequences, counted.
std::size_t count_with_consequences(const std::vector<worded_warning>& list);

}  // namespace scenario::tool
