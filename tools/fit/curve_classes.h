// The six curvatures the line description turns by, and what one curved step
// of the compiler's plan turns: atan of the curvature (it never renormalises
// its direction, so the angle per step is exact and the step grows instead).
#pragma once

#include <array>
#include <cmath>

namespace scenario::fit {

inline constexpr std::array<double, 7> class_curvature = {0, 0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

// Radians turned by one curved step of class 1..6 (0: a straight step).
inline double class_angle(int curve_class) {
    return std::atan(class_curvature[static_cast<std::size_t>(curve_class)]);
}

}  // namespace scenario::fit
