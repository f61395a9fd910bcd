// Where a slowdown ends among the cells, for every view of a route.
#pragma once

#include "compiler/state.h"

#include <cstddef>
#include <vector>

namespace scenario::tool {

// The cell that ends the slowdown starting at cell `start`: the next end
// cell, or `start` itself when none follows.
inline std::size_t slowdown_end(const std::vector<cella>& celle, std::size_t start) {
    for (std::size_t e = start + 1; e < celle.size(); ++e)
        if (celle[e].tipo == tipo_cella::fine_rallentamento)
            return e;
    return start;
}

}  // namespace scenario::tool
