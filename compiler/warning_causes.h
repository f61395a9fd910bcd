// Which warnings are consequences of an earlier fault: a fault that made the
// reader misread later fields (a missing comma, a keyword that matches
// nothing, too few values, a route length that is not a number, a general
// section that never ends) is the cause, and what it made the reader do
// wrong on the lines it shifted is folded under it. And which warnings only
// restate what an error already says.
#pragma once

#include "compiler/compile_log.h"

#include <cstdint>
#include <vector>

namespace scenario {

inline constexpr int32_t no_cause = -1;  // a warning of its own
inline constexpr int32_t restated = -2;  // says again what an error or a failure says: not reported

// One entry per `log.warnings`: no_cause, restated, or the index in
// `log.warnings` of the fault it follows from (always a warning of its own:
// chains are folded to their first fault).
std::vector<int32_t> warning_causes(const compile_log& log);

}  // namespace scenario
