// The drawing of a compiled scenario as SVG: the track plan seen from above
// with stations, tunnels, signals and slowdowns marked along it, and the
// gradient profile under it.
#pragma once

#include "compiler/state.h"
#include "tools/render/label_placement.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace scenario::tool {

struct plan_data {
    std::string title;
    std::optional<tracciato_linea> tracciato;  // none: no line file, the line is drawn straight
    bool plan_left_out = false;                // there was a line file, but of another route
    std::vector<cella> celle;
    std::array<voce, numero_voci> voci{};
};

// The whole SVG document. Its stations are route::stations of the compiled
// files alone.
std::string draw_plan(const plan_data& d);

// The labels of the plan seen from above, as the drawing places them.
struct plan_label {
    std::string text;  // UTF-8
    placed_label place;
    double font_size = 12;
    const char* colour = "#222";
    bool station = false;
    point at{};  // the point labelled
};
struct plan_labelling {
    box frame{};  // every label lies inside it
    std::vector<plan_label> labels;
};
plan_labelling plan_labels(const plan_data& d);

}  // namespace scenario::tool
