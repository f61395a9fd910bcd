#include "compiler/nearest_keyword.h"

#include "compiler/text_case.h"

#include <algorithm>
#include <string>
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

}  // namespace

std::size_t edit_distance(std::string_view a, std::string_view b) {
    // Three rows of the distance table: two back, one back, this one.
    std::vector<std::size_t> before(b.size() + 1), last(b.size() + 1), row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        last[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t replace = last[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            row[j] = std::min({last[j] + 1, row[j - 1] + 1, replace});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], before[j - 2] + 1);
        }
        before.swap(last);
        last.swap(row);
    }
    return last[b.size()];
}

std::optional<std::string_view> nearest_keyword(std::string_view field, std::span<const keyword_row> rows) {
    const std::string t = comparable(field);
    if (t.empty())
        return std::nullopt;
    std::optional<std::string_view> best;
    std::size_t best_distance = allowed_distance(t.size()) + 1;
    const auto consider = [&](std::string_view spelling) {
        const std::size_t d = edit_distance(t, spelling);
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
