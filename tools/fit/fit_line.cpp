#include "tools/fit/fit_line.h"

namespace scenario::fit {

result<fitted_line> fit_line(const line_input&, const fit_options&) {
    return failure{"the fit is not built yet"};
}

}  // namespace scenario::fit
