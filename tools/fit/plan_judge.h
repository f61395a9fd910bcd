// Judges a fit on the route as the compiler reads it: the written lines are
// compiled in memory and the plan's heading at every metre, and the heights
// of its cells, are compared with the line's.
#pragma once

#include "tools/fit/curve_fit.h"
#include "tools/fit/fit_line.h"

#include <vector>

namespace scenario::fit {

// Fills the heading, lateral, height and stretch figures of `out.report`
// from `out.curves`, `out.gradients` and `out.heights_along`; `line` is the
// line at every metre, `curves` its fitted headings and bends.
void judge_fit(const metre_line& line, const curve_fit& curves, fitted_line& out);

}  // namespace scenario::fit
