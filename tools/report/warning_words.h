// The warnings a compile noted, in the author's words: what the compiler did
// with a line it read without an error.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/state.h"
#include "tools/report/diagnostics.h"

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
};

struct worded_warnings {
    std::vector<worded_warning> list;  // in the order found, the ignored codes left out
    // Per code, the warnings found beyond those described (the compile keeps
    // a limited number of each).
    std::vector<std::pair<warning_code, uint32_t>> not_shown;
};

worded_warnings word_warnings(const stato_scenario& s, const compile_log& log,
                              const std::vector<warning_code>& ignored);

}  // namespace scenario::tool
