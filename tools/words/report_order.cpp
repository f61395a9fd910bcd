#include "tools/words/report_order.h"

#include <algorithm>
#include <optional>

namespace scenario::tool {

namespace {

int file_rank(const std::optional<sorgente_testo>& source) {
    if (!source)
        return 2;
    return *source == sorgente_testo::linea ? 0 : 1;
}

template <typename T>
std::vector<T> sorted(std::vector<T> list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const T& a, const T& b) { return report_key_of(a) < report_key_of(b); });
    return list;
}

}  // namespace

report_key report_key_of(const diagnosis& d) {
    return {file_rank(d.source), d.line, d.column};
}

report_key report_key_of(const worded_warning& w) {
    return {file_rank(w.source), w.line, w.first_column};
}

std::vector<report_item> merged_report(const std::vector<diagnosis>& errors,
                                       const std::vector<worded_warning>& warnings) {
    std::vector<report_item> list;
    list.reserve(errors.size() + warnings.size());
    std::size_t i = 0, k = 0;
    while (i < errors.size() || k < warnings.size()) {
        if (k == warnings.size() ||
            (i < errors.size() && report_key_of(errors[i]) <= report_key_of(warnings[k])))
            list.push_back({true, i++});
        else
            list.push_back({false, k++});
    }
    return list;
}

std::vector<diagnosis> in_report_order(std::vector<diagnosis> list) {
    return sorted(std::move(list));
}

std::vector<worded_warning> in_report_order(std::vector<worded_warning> list) {
    return sorted(std::move(list));
}

}  // namespace scenario::tool
