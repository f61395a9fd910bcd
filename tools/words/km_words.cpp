// Kilometres in words: one formatter for every report, drawing and hover.
#include "tools/words/km_words.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace scenario::tool {

namespace {

// Whole kilometres and metres, the sign kept even below one kilometre.
std::string to_the_metre(int64_t metres) {
    const int64_t whole = std::llabs(metres) / 1000, rest = std::llabs(metres) % 1000;
    std::string r = std::to_string(rest);
    r.insert(0, 3 - r.size(), '0');
    return (metres < 0 ? "-" : "") + std::to_string(whole) + "." + r;
}

// One decimal, and "0.0" rather than "-0.0" for a few metres below zero.
std::string to_a_tenth(int64_t metres) {
    double v = kilometres(metres);
    if (std::fabs(v) < 0.05)
        v = 0;
    char b[32];
    const auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, 1);
    return std::string(b, static_cast<std::size_t>(r.ptr - b));
}

}  // namespace

std::string km_words(int64_t metres, km_style style) {
    switch (style) {
        case km_style::post:
            return "km " + to_the_metre(metres);
        case km_style::figure:
            return to_the_metre(metres);
        case km_style::axis:
            return (metres % 1000 == 0 ? std::to_string(metres / 1000) : to_a_tenth(metres)) + " km";
    }
    return to_the_metre(metres);
}

double kilometres(int64_t metres) {
    return static_cast<double>(metres) / 1000.0;
}

}  // namespace scenario::tool
