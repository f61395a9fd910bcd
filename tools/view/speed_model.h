// The page's speed side as JSON: the permitted speed along the route with
// the line behind each stretch, the slowdowns' advance and approach cells,
// the maximum-speed boards, and the running times of the timetable.
#pragma once

#include "tools/view/view_model.h"

#include <cstdint>

namespace scenario::view {

json speed_json(const compiled_view& v, int64_t length);

}  // namespace scenario::view
