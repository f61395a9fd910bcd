// Warnings about the shape of a line: its keyword field's spelling, fields
// left over after its values, values taken from the next line.
#include "compiler/nearest_keyword.h"
#include "compiler/text_case.h"
#include "compiler/warning_walk.h"
#include "compiler/warnings.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace scenario::warning_walk {

namespace {

bool is_number(std::string_view t) {
    if (!t.empty() && (t.front() == '+' || t.front() == '-'))
        t.remove_prefix(1);
    return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The spellings a keyword field may have without a warning: the writers' own,
// and the forms the reader gives a meaning of their own (any curve class, 9
// repetition codes).
bool accepted_spelling(const keyword_row& row, std::string_view field, std::string_view lowered) {
    const std::string_view t = row.ignore_case ? lowered : field;
    for (std::string_view w : row.writer_spellings)
        if (t == w)
            return true;
    if (row.writer_spellings.empty() && t == row.part1)
        return true;
    if (row.id == keyword::curve)
        return t.size() == 7 && t.starts_with("curva") && (t[5] == 'd' || t[5] == 's') && t[6] >= '1' &&
               t[6] <= '6';
    if (row.id == keyword::signal_repetition)
        return t == "ripetizione segnali 9 codici";
    return false;
}

// The last blank-separated word of a field.
std::string_view last_word(std::string_view t) {
    const std::size_t blank = t.find_last_of(" \t");
    return blank == std::string_view::npos ? std::string_view{} : t.substr(blank + 1);
}

}  // namespace

// A keyword field that was read as no keyword, and the fields after it on its
// line, which the reader took as keyword fields too. Gives the index after them.
std::size_t source_walk::swallow(std::size_t i, warning_code c, const keyword_row* row) {
    std::size_t j = i + 1;
    while (same_line_keyword(j, f(i).line) && !matches_any(rows(), f(j), false))
        ++j;
    logged_warning w = at_field(c, i, j - i);
    w.row = row;
    // Only a warning that will be kept needs its suggestion: the rest are only counted.
    if (c != warning_code::keyword_case && log_.warnings_found[std::size_t(c)] < warnings_kept_per_code)
        w.nearest_keyword = nearest_keyword(f(i).text, rows()).value_or("");
    note_warning(&log_, w);
    return j;
}

// Keyword fields left on `line` after a line's last value: the reader took
// them as keyword fields. Gives the index after them.
std::size_t source_walk::surplus(std::size_t after, int32_t line, const keyword_row& row) {
    std::size_t j = after;
    std::size_t first = end_;
    std::size_t last = end_;
    while (same_line_keyword(j, line) && !matches_any(rows(), f(j), false)) {
        if (!f(j).text.empty()) {
            if (first == end_)
                first = j;
            last = j;
        }
        ++j;
    }
    if (first != end_) {
        logged_warning w = at_field(warning_code::too_many_fields, first, last - first + 1);
        w.place.keyword_field = -1;
        w.row = &row;
        w.other = keyword_place(row);  // the line whose values they follow
        note_warning(&log_, w);
    }
    return j;
}

// One keyword's line: its spelling, its values, a line too short or too
// long. Gives the index of the field after the line.
std::size_t source_walk::read_line(std::size_t i, std::span<const keyword_row* const> matched) {
    check_spelling(i, matched);

    const std::span<const field_record> line = fields_of_line(log_, static_cast<int32_t>(i));
    const std::span<const field_record> values = line.subspan(1);
    std::size_t expected = 0;
    for (const keyword_row* r : matched)
        expected += r->values.size();

    keyword_ = i;
    std::size_t next = 0;
    for (const keyword_row* r : matched) {
        if (values.size() >= next + r->values.size())
            check_repeated(*r);
        const std::size_t n = std::min(r->values.size(), values.size() - std::min(next, values.size()));
        check_values(*r, values.subspan(std::min(next, values.size()), n), i + 1 + next);
        next += r->values.size();
        if (r->id == keyword::station)
            ++stations_;
    }

    check_short_line(i, *matched.front(), values, expected);
    const std::size_t after = i + line.size();
    if (values.size() < expected)
        return after;  // reading stopped inside the line
    return surplus(after, line.back().line, *matched.back());
}

// A keyword field that holds more than its keyword: a number glued to it (a
// missing comma), or other words, or several keywords.
void source_walk::check_spelling(std::size_t i, std::span<const keyword_row* const> matched) {
    const field_record& k = f(i);
    const std::string lowered = lower_ascii(k.text);
    const keyword_row& first_row = *matched.front();
    if (matched.size() == 1 && accepted_spelling(first_row, k.text, lowered))
        return;
    const std::string_view word = last_word(k.text);
    logged_warning w =
        at_field(is_number(word) ? warning_code::missing_comma : warning_code::keyword_in_text, i);
    w.row = &first_row;
    w.other_value = static_cast<int64_t>(matched.size());  // keywords the field holds
    if (matched.size() > 1)
        w.stored = static_cast<int64_t>(matched[1]->id);
    note_warning(&log_, w);
}

// A value on a later line: the line at `i` held too few fields.
void source_walk::check_short_line(std::size_t i, const keyword_row& row,
                                   std::span<const field_record> values, std::size_t expected) {
    for (std::size_t v = 0; v < values.size(); ++v) {
        if (values[v].line == f(i).line)
            continue;
        // Points at the short line itself; `field` is the first value taken from the next.
        logged_warning w = at_field(warning_code::too_few_fields, i, v + 1);
        w.field = static_cast<int32_t>(i + 1 + v);
        w.count = 1;
        w.row = &row;
        w.value = static_cast<int64_t>(expected);
        w.stored = static_cast<int64_t>(v);
        note_warning(&log_, w);
        return;
    }
}

// The values of one keyword: how each was read, what the compiled fields
// keep of them, a position in the run-off.
void source_walk::check_values(const keyword_row& row, std::span<const field_record> values,
                               std::size_t first_index) {
    check_readings(row, values, first_index);
    if (values.size() < row.values.size())
        return;
    std::array<std::optional<int64_t>, 17> v{};
    for (std::size_t j = 0; j < values.size() && j < v.size(); ++j)
        if (values[j].reading == field_reading::number)
            v[j] = values[j].value;
    check_stored(row, v, first_index);
    check_positions(row, v, first_index);
    check_ignored(row, v, first_index);
    check_run_off(row, v, first_index);
}

}  // namespace scenario::warning_walk
