// The curve classes of the plan; the per-point steps are in track_plan_steps.cpp.
#include "compiler/track_plan.h"

namespace scenario {

std::optional<double> curvatura_parola(std::string_view parola) {
    // Curve classes, gentlest first; the first digit found in this order wins.
    struct classe {
        char cifra;
        double curvatura;
    };
    constexpr classe classi[] = {{'1', 0.0001}, {'2', 0.0002}, {'3', 0.0004},
                                 {'4', 0.001},  {'5', 0.002},  {'6', 0.003}};
    for (const classe& c : classi) {
        if (parola.find(c.cifra) == std::string_view::npos)
            continue;
        const bool sinistra = parola.find_first_of("sS") != std::string_view::npos;
        return sinistra ? -c.curvatura : c.curvatura;
    }
    return std::nullopt;
}

}  // namespace scenario
