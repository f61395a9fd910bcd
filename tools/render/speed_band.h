// The speed band of the plan's SVG: the permitted speed along the route under
// the gradient profile, on the same distance axis, with the slowdowns and
// their warning cells, the maximum-speed boards and the timed stations.
#pragma once

#include "compiler/route_facts.h"
#include "compiler/speed_profile.h"
#include "compiler/state.h"
#include "tools/render/svg_writer.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace scenario::tool {

// The room the band takes on the page, its heading included.
inline constexpr double speed_band_height = 200;

// The top of the band's speed scale, km/h: the highest line limit or board
// speed and 10 more, rounded up to 20, at least 40. The page's band uses it too.
int speed_scale_top(const std::vector<route::speed_stretch>& stretches,
                    const std::vector<route::speed_board>& boards);

// Draws the band from `top` down; `x_of` places a distance in metres.
void draw_speed_band(svg::writer& out, double top, int64_t length, const std::vector<cella>& celle,
                     const std::vector<route::station>& stations, const std::function<double(double)>& x_of);

}  // namespace scenario::tool
