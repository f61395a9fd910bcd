// What the page says at any metre along the route: its km, height and gradient.
#pragma once

#include "tools/view/view_model.h"

namespace scenario::view {

// The metre (rounded, kept within the drawn route), its km in words, the
// height between the profile's cells, the gradient there (null past the
// last stretch), and "km · height · gradient · " as the profile's hover
// opens. The page asks for it and never works a km or a height out itself.
json metre_json(const compiled_view& v, double metre);

}  // namespace scenario::view
