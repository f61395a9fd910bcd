// Kilometres in words: the one way the tool writes a distance along the route.
#pragma once

#include <cstdint>
#include <string>

namespace scenario::tool {

enum class km_style {
    post,    // "km 6.025": a km post, to the metre, as reports and the editor write it
    figure,  // "6.025": the same figure without its "km ", after "km a to "
    axis,    // "6 km", "6.5 km": a drawing's scale and route length, to 100 m
};

// Metres as a km figure (halves of the last digit to even on the axis).
std::string km_words(int64_t metres, km_style style = km_style::post);

// Metres as a number of kilometres, for JSON (a number, not words).
double kilometres(int64_t metres);

}  // namespace scenario::tool
