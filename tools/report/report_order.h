// The order in which reports list errors and warnings: by file (the line
// description first, then the run description, then what is tied to no file),
// then by line and column, as an author reads the sources.
#pragma once

#include "tools/report/diagnostics.h"
#include "tools/report/warning_words.h"

#include <cstdint>
#include <tuple>
#include <vector>

namespace scenario::tool {

// Sort key of an entry; a smaller key comes first.
using report_key = std::tuple<int, int32_t, int32_t>;
report_key report_key_of(const diagnosis& d);
report_key report_key_of(const worded_warning& w);

// The entries in report order; entries at the same place keep their order.
std::vector<diagnosis> in_report_order(std::vector<diagnosis> list);
std::vector<worded_warning> in_report_order(std::vector<worded_warning> list);

}  // namespace scenario::tool
