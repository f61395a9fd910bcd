#include "compiler/nearest_keyword.h"

#include "compiler/text_case.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace scenario {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t';
}

bool all_digits(std::string_view t) {
    return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The field as a keyword is compared: lower case, no outer blanks, and no
// number glued on after a blank (a missing comma).
std::string comparable(std::string_view field) {
    std::string t = lower_ascii(field);
    while (!t.empty() && blank(t.back()))
        t.pop_back();
    const std::size_t last_blank = t.find_last_of(" \t");
    if (last_blank != std::string::npos && all_digits(std::string_view(t).substr(last_blank + 1)))
        t.erase(last_blank);
    while (!t.empty() && blank(t.back()))
        t.pop_back();
    const std::size_t first = t.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : t.substr(first);
}

// How far a spelling may be from a field of `length` letters and still be
// the word meant: one slip in a short word, a quarter of a longer one, at
// most three.
std::size_t allowed_distance(std::size_t length) {
    return std::clamp<std::size_t>(length / 4, 1, 3);
}

// The distance when it is below `limit`; otherwise some number not below
// `limit`, found as soon as the distance cannot be below it: the lengths
// differ by `limit` or more, or a whole row of the table reaches it (a row's
// smallest entry never falls from one row to the next, and the distance is
// in the last row). Unknown keyword fields are many in a noisy source and
// most are far from every spelling, so most comparisons stop at once.
std::size_t distance_below(std::string_view a, std::string_view b, std::size_t limit) {
    const std::size_t gap = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (gap >= limit)
        return gap;
    // Three rows of the distance table, in one block: two back, one back,
    // this one.
    const std::size_t width = b.size() + 1;
    std::vector<std::size_t> table(3 * width);
    std::size_t* before = table.data();
    std::size_t* last = before + width;
    std::size_t* row = last + width;
    for (std::size_t j = 0; j < width; ++j)
        last[j] = j;
    const char* x = a.data();
    const char* y = b.data();
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        std::size_t smallest = i;
        for (std::size_t j = 1; j < width; ++j) {
            std::size_t d = last[j - 1] + (x[i - 1] == y[j - 1] ? 0 : 1);  // replace or keep
            d = std::min(d, std::min(last[j], row[j - 1]) + 1);            // delete or insert
            if (i > 1 && j > 1 && x[i - 1] == y[j - 2] && x[i - 2] == y[j - 1])
                d = std::min(d, before[j - 2] + 1);  // swap
            row[j] = d;
            smallest = std::min(smallest, d);
        }
        if (smallest >= limit)
            return smallest;
        std::swap(before, last);
        std::swap(last, row);
    }
    return last[b.size()];
}

}  // namespace

std::size_t edit_distance(std::string_view a, std::string_view b) {
    return distance_below(a, b, std::numeric_limits<std::size_t>::max());
}

std::optional<std::string_view> nearest_keyword(std::string_view field, std::span<const keyword_row> rows) {
    const std::string t = comparable(field);
    if (t.empty())
        return std::nullopt;
    std::optional<std::string_view> best;
    std::size_t best_distance = allowed_distance(t.size()) + 1;
    const auto consider = [&](std::string_view spelling) {
        const std::size_t d = distance_below(t, spelling, best_distance);
        if (d < best_distance) {
            best = spelling;
            best_distance = d;
        }
    };
    for (const keyword_row& r : rows) {
        if (r.writer_spellings.empty())
            consider(r.part1);
        for (std::string_view s : r.writer_spellings)
            consider(s);
    }
    if (best_distance == 0)
        return std::nullopt;
    return best;
}

}  // namespace scenario
