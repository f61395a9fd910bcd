#include "tools/fit/fit_line.h"

#include "tools/fit/curve_fit.h"
#include "tools/fit/gradient_fit.h"
#include "tools/fit/metre_line.h"
#include "tools/fit/plan_judge.h"

namespace scenario::fit {

result<fitted_line> fit_line(const line_input& input, const fit_options& options) {
    if (!(options.height_rms >= 0) || !(options.height_max >= 0) || !(options.min_piece >= 0))
        return failure{"the fit's tolerances must be numbers of 0 or more"};
    result<metre_line> line = resample_by_metre(input);
    if (!line)
        return failure{line.error()};
    fitted_line out;
    out.length = line->route_length;
    out.report.line_length = line->length;
    out.report.route_length = static_cast<double>(line->route_length);

    curve_fit curves = fit_curves(*line, options.min_piece);
    out.curves = curves.curves;
    out.report.bends = curves.bends;
    out.report.start_heading_deg = curves.start_heading * 180 / 3.14159265358979323846;

    const bool exact = !(options.height_rms > 0) && !(options.height_max > 0);
    if (!line->heights.empty()) {
        out.heights_along = heights_every_cell(line->heights, line->route_length, !exact);
        gradient_fit g = fit_gradients(out.heights_along, options.height_rms, options.height_max);
        out.gradients = std::move(g.lines);
    } else {
        out.gradients = {{0, 0}};
    }
    judge_fit(*line, curves, out);
    return out;
}

}  // namespace scenario::fit
