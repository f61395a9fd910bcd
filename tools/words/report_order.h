// The order in which reports list errors and warnings: by file (the line
// description first, then the run description, then what is tied to no file),
// then by line and column, as an author reads the sources.
#pragma once

#include "tools/words/diagnostics.h"
#include "tools/words/warning_words.h"

#include <cstddef>
#include <cstdint>
#include <tuple>
#include <vector>

namespace scenario::tool {

// Sort key of an entry; a smaller key comes first.
using report_key = std::tuple<int, int32_t, int32_t>;
report_key report_key_of(const diagnosis& d);
report_key report_key_of(const worded_warning& w);

// One place in a merged report: the `index`-th entry of the errors or of the
// warnings.
struct report_item {
    bool error = false;
    std::size_t index = 0;
};

// Errors and warnings, each already in report order, as one list in that
// order; at one place the error comes first.
std::vector<report_item> merged_report(const std::vector<diagnosis>& errors,
                                       const std::vector<worded_warning>& warnings);

// The entries in report order; entries at the same place keep their order.
std::vector<diagnosis> in_report_order(std::vector<diagnosis> list);
std::vector<worded_warning> in_report_order(std::vector<worded_warning> list);

}  // namespace scenario::tool
