// The plan's arithmetic, written once: each point from the two before it, for
// the plan kept in memory and for the line file made from the runs alike.
#pragma once

#include "compiler/state.h"

namespace scenario {

// Steps along the plan. The two points before the next one are kept as
// numbers: each step needs them, and reading them back from the plan would
// repeat the tag test at every point. Given the numbers the plan holds, every
// point comes out to the same bits whichever caller steps. The steps are
// always inlined into their loops (a sanitizer build would otherwise call
// them per point), and call nothing that another file may have compiled with
// coverage tracing (see track_plan_steps.cpp).
class plan_stepper {
public:
    plan_stepper(double x0, double y0, double x1, double y1) : x0_(x0), y0_(y0), x1_(x1), y1_(y1) {}

    // Points r.first through r.last in turn, each handed to `put(point, x, y)`.
    template <class Put>
    [[gnu::always_inline]] void run(const plan_run& r, Put&& put) {
        if (r.curved) {
            for (int32_t w = r.first; w <= r.last; ++w) {
                curved(r.curvature);
                put(w, x1_, y1_);
            }
        } else {
            for (int32_t w = r.first; w <= r.last; ++w) {
                straight();
                put(w, x1_, y1_);
            }
        }
    }

private:
    [[gnu::always_inline]] void straight() {
        const double dx = x1_ - x0_;
        const double dy = y1_ - y0_;
        advance(x1_ + dx, y1_ + dy);
    }

    [[gnu::always_inline]] void curved(double curvature) {
        const double dx = x1_ - x0_;
        const double dy = y1_ - y0_;
        advance(x1_ + (dx + curvature * dy), y1_ + (dy - curvature * dx));
    }

    [[gnu::always_inline]] void advance(double x, double y) {
        x0_ = x1_;
        y0_ = y1_;
        x1_ = x;
        y1_ = y;
    }

    double x0_, y0_, x1_, y1_;
};

}  // namespace scenario
