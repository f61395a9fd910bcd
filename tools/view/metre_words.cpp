// The profile's hover words at a metre, from the compiler's gradient profile.
#include "tools/view/metre_words.h"

#include "compiler/gradient_profile.h"
#include "compiler/route_facts.h"
#include "tools/words/km_words.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace scenario::view {

namespace {

// Straight between the heights at the ends of the cell that holds `m`.
double height_at(const route::gradient_profile& profile, int64_t m) {
    const auto& h = profile.heights;
    for (std::size_t i = 0; i + 1 < h.size(); ++i)
        if (m >= h[i].first && m <= h[i + 1].first)
            return h[i].second + (h[i + 1].second - h[i].second) * static_cast<double>(m - h[i].first) /
                                     static_cast<double>(std::max<int64_t>(1, h[i + 1].first - h[i].first));
    return h.empty() ? 0.0 : h.back().second;
}

// The gradient of the stretch holding `m`; the last one's past the end.
json gradient_at(const route::gradient_profile& profile, int64_t m) {
    for (const route::gradient_stretch& g : profile.gradients)
        if (m >= g.from && m < g.to)
            return g.per_mille;
    if (!profile.gradients.empty() && m >= profile.gradients.back().to)
        return profile.gradients.back().per_mille;
    return nullptr;
}

}  // namespace

json metre_json(const compiled_view& v, double metre) {
    const int64_t length = drawn_length(v);
    // Clamped before rounding, so no metre from a request overflows.
    const int64_t m =
        static_cast<int64_t>(std::nearbyint(std::clamp(metre, 0.0, static_cast<double>(length))));
    const route::gradient_profile profile = route::profile_of(v.state().celle, length);
    const double height = height_at(profile, m);
    const json gradient = gradient_at(profile, m);
    char h[32];
    std::snprintf(h, sizeof h, "%.1f", height);
    std::string words = tool::km_words(m, tool::km_style::figure) + " km · " + h + " m · ";
    if (!gradient.is_null()) {
        const int g = gradient.get<int>();
        words += (g > 0 ? "+" : "") + std::to_string(g) + " ‰ · ";
    }
    return json{{"metre", m},
                {"km", tool::km_words(m, tool::km_style::figure)},
                {"height", height},
                {"gradient", gradient},
                {"words", words}};
}

}  // namespace scenario::view
