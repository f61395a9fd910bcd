// The labels of the page's plan at the view the page shows: the page sends
// its view, the same placement as the SVG's places the labels.
#pragma once

#include "tools/view/view_model.h"

namespace scenario::view {

// What the page shows of the plan: a canvas `width` x `height` pixels whose
// centre is the turned world point (u, v), at `scale` pixels per metre, the
// line turned by `angle` radians.
struct page_view {
    double width = 0, height = 0, u = 0, v = 0, scale = 1, angle = 0;
};

// The labels placed: stations (named whenever their point is on the canvas),
// kilometre marks, slowdowns' speeds and boards, each [kind, text, size,
// x, baseline, box, leader, point].
json labels_json(const compiled_view& v, const page_view& view);

}  // namespace scenario::view
