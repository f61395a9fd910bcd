// Where the labels of a drawing go: each near its point, wholly inside the
// drawing's frame, and touching no other label and no reserved mark.
#pragma once

#include "tools/render/plan_geometry.h"

#include <cstddef>
#include <string>
#include <vector>

namespace scenario::tool {

// Labels are set in a monospace font whose every character advances 0.6 em
// (DejaVu Sans Mono, Liberation Mono and Courier all do), so a label's width
// is known without measuring: the SVG and the page both use this font.
constexpr double monospace_advance = 0.6;
constexpr const char* label_font_family = "DejaVu Sans Mono, Liberation Mono, Courier New, monospace";

// The box of `characters` characters at `font_size`, one pixel of air around.
double label_width(std::size_t characters, double font_size);
double label_height(double font_size);

struct label_request {
    point at;                    // the point labelled
    std::size_t characters = 0;  // of the text
    double font_size = 12;
    bool required = false;  // a required label is always placed; the others only where there is room
};

struct placed_label {
    bool drawn = false;
    box area{};                  // the label's box
    double x = 0, baseline = 0;  // the text's start (text-anchor start) and baseline
    bool leader = false;         // set away from its point: draw a line from the point to the box
};

// Places the labels in the order given (put the required ones first): the
// first of right, left, above and below that is free; for a required label
// then farther up and down, and shifted sideways to stay inside the frame.
// A required label goes where it overlaps least only when the frame has no
// free place left.
std::vector<placed_label> place_labels(const box& frame, const std::vector<box>& marks,
                                       const std::vector<label_request>& requests);

}  // namespace scenario::tool
