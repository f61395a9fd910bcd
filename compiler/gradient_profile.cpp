#include "compiler/gradient_profile.h"

#include "compiler/cell_rules.h"
#include "compiler/route_facts.h"

#include <algorithm>

namespace scenario::route {

gradient_profile profile_of(const std::vector<cella>& celle, int64_t length) {
    gradient_profile p;
    p.heights.emplace_back(0, 0.0);
    double h = 0;
    for (std::size_t c = 0; c < celle.size() && cell_span(static_cast<int64_t>(c)).from < length; ++c) {
        const int g = cell_gradient(celle[c]);
        const int64_t from = cell_span(static_cast<int64_t>(c)).from;
        const int64_t to = std::min<int64_t>(cell_span(static_cast<int64_t>(c)).to, length);
        h += climb(g, to - from);
        p.heights.emplace_back(to, h);
        p.low = std::min(p.low, h);
        p.high = std::max(p.high, h);
        if (!p.gradients.empty() && p.gradients.back().per_mille == g && p.gradients.back().to == from)
            p.gradients.back().to = to;
        else
            p.gradients.push_back({from, to, g});
    }
    return p;
}

}  // namespace scenario::route
