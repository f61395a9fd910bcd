// The compiled plan walked at one metre per metre of route: the direction of
// each plan step kept, its length (which the compiler lets grow) set to 1 m,
// so that km k of the route lies k km along the drawing.
#pragma once

#include "compiler/state.h"
#include "tools/geodata/local_projection.h"

#include <cstdint>
#include <vector>

namespace scenario::geodata {

// Points 0..length in the plan's frame (starting at the origin heading +y):
// one a metre. Without a plan, a straight line along +y.
std::vector<xy> walk_route(const tracciato_linea& plan, int64_t length);

// The route walked, turned by `heading_deg` (clockwise from north: the
// direction of the plan's +y) and moved to `origin` on a local plane.
std::vector<xy> place_route(const std::vector<xy>& walked, const xy& origin, double heading_deg);

}  // namespace scenario::geodata
