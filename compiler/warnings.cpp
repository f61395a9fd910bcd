#include "compiler/warnings.h"

#include "compiler/keywords.h"
#include "compiler/nearest_keyword.h"
#include "compiler/running_times.h"
#include "compiler/text_case.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace scenario {

namespace {

constexpr std::array<std::string_view, warning_code_count> names = {
    "unknown-keyword",  "missing-comma",       "keyword-in-text",      "misplaced-keyword",
    "keyword-case",     "not-a-number",        "empty-value",          "too-many-fields",
    "too-few-fields",   "value-wrapped",       "profile-order",        "tunnel-end",
    "slowdown-length",  "speed-rounded",       "tunnel-overlap",       "tunnel-order",
    "curve-overlap",    "curve-length",        "time-backwards",       "time-out-of-range",
    "repeated-setting", "position-rounded",    "progressives-dropped", "value-ignored",
    "in-run-off",       "not-windows-1252",    "utf16-file",           "byte-order-mark",
    "name-not-ascii",   "run-general-missing", "no-station",           "running-time",
};
static_assert(!names.back().empty(), "a name for every warning code");

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

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

// True when `t` holds a byte sequence of UTF-8 beyond ASCII, and nothing that
// is not UTF-8.
bool looks_utf8(std::string_view t) {
    bool multibyte = false;
    for (std::size_t i = 0; i < t.size();) {
        const auto c = static_cast<unsigned char>(t[i]);
        std::size_t n = 0;
        if (c < 0x80)
            n = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            n = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            n = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            n = 3;
        else
            return false;
        if (n > 0 && i + n >= t.size())
            return false;
        for (std::size_t k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(t[i + k]) & 0xC0) != 0x80)
                return false;
        multibyte = multibyte || n > 0;
        i += n + 1;
    }
    return multibyte;
}

// Items that stand at one place (profiles run on to the end of the route by design).
bool positioned(line_item item) {
    switch (item) {
        case line_item::curve:
        case line_item::tunnel:
        case line_item::speed_board:
        case line_item::tunnel_board:
        case line_item::signal:
        case line_item::slowdown:
        case line_item::abbattimento:
        case line_item::station:
            return true;
        default:
            return false;
    }
}

// The maximum-speed board line as the program writes it leaves its right-hand
// speeds empty.
bool empty_by_design(const keyword_row& row, int32_t value_index) {
    return row.id == keyword::speed_board && value_index >= 5 && value_index <= 7;
}

int64_t low8(int64_t v) {
    return v & 0xFF;
}
int64_t low16(int64_t v) {
    return static_cast<int16_t>(static_cast<uint16_t>(v & 0xFFFF));
}
bool fits16(int64_t v) {
    return v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
}

enum class part { before_header, general, body };

// One pass over the fields of one source.
class source_walk {
public:
    source_walk(const stato_scenario& s, compile_log& log, sorgente_testo source, std::size_t first,
                std::size_t end)
        : s_(s), log_(log), source_(source), first_(first), end_(end) {}

    void run();

private:
    const field_record& f(std::size_t i) const { return log_.fields[i]; }
    bool same_line_keyword(std::size_t i, int32_t line) const {
        return i < end_ && f(i).role == field_role::keyword && f(i).line == line;
    }
    logged_warning at_field(warning_code c, std::size_t i, std::size_t count = 1) const;
    std::span<const keyword_row> rows() const;
    bool matches_any(std::span<const keyword_row> rows, const field_record& k, bool any_case) const;
    std::size_t swallow(std::size_t i, warning_code c, const keyword_row* row);
    std::size_t surplus(std::size_t after, int32_t line, const keyword_row& row);
    std::size_t read_line(std::size_t i, std::span<const keyword_row* const> matched);
    void check_spelling(std::size_t i, std::span<const keyword_row* const> matched);
    void check_short_line(std::size_t i, const keyword_row& row, std::span<const field_record> values,
                          std::size_t expected);
    void check_values(const keyword_row& row, std::span<const field_record> values, std::size_t first_index);
    void check_readings(const keyword_row& row, std::span<const field_record> values,
                        std::size_t first_index);
    void check_stored(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                      std::size_t first_index);
    void check_run_off(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                       std::size_t first_index);
    void check_speed(const keyword_row& row, int32_t index, int64_t speed, std::size_t first_index);
    void check_tunnel(const keyword_row& row, int64_t inizio, int64_t fine, int64_t tipo,
                      std::size_t first_index);
    void check_curve(const keyword_row& row, int64_t start, int64_t length, std::size_t first_index);
    void check_time(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                    std::size_t first_index);
    void check_repeated(const keyword_row& row);
    void check_cell_position(const keyword_row& row, int32_t index, int64_t position, int32_t offset,
                             std::size_t first_index);
    void check_positions(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                         std::size_t first_index);
    void check_progressives();
    void check_ignored(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                       std::size_t first_index);
    source_place keyword_place(const keyword_row& row) const {
        return {true, source_, f(keyword_).line, row.item, static_cast<int32_t>(keyword_)};
    }
    bool encoding_of_source();

    // A tunnel line read so far: its cells and where it was written.
    struct tunnel_seen {
        int64_t inizio, fine, first_cell, last_cell;
        source_place place;
    };

    const stato_scenario& s_;
    compile_log& log_;
    sorgente_testo source_;
    std::size_t first_, end_;
    part part_ = part::before_header;
    int32_t header_line_ = 0;
    int32_t stations_ = 0;
    std::size_t keyword_ = 0;  // the keyword field of the line being checked
    std::vector<tunnel_seen> tunnels_;
    int64_t plan_index_ = 2;  // the next point of the track plan, as the curve reader keeps it
    source_place last_curve_{};
    std::optional<int64_t> last_time_;  // the last timed station's time, seconds after midnight
    source_place last_timed_{};
    std::vector<std::pair<keyword, source_place>> settings_;  // setting lines met
};

logged_warning source_walk::at_field(warning_code c, std::size_t i, std::size_t count) const {
    logged_warning w;
    w.code = c;
    w.place = {true, source_, f(i).line, line_item::none, static_cast<int32_t>(i)};
    w.field = static_cast<int32_t>(i);
    w.count = static_cast<int32_t>(count);
    w.first_column = f(i).first_column;
    w.last_column = f(i + count - 1).line == f(i).line ? f(i + count - 1).last_column : f(i).last_column;
    return w;
}

std::span<const keyword_row> source_walk::rows() const {
    if (source_ == sorgente_testo::corsa)
        return run_keywords();
    return part_ == part::general ? line_general_keywords() : line_body_keywords();
}

bool source_walk::matches_any(std::span<const keyword_row> rs, const field_record& k, bool any_case) const {
    const std::string lowered = lower_ascii(k.text);
    for (const keyword_row& r : rs)
        if (r.matches(any_case ? lowered : k.text, lowered, true))
            return true;
    return false;
}

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

// A value that was no number or empty (read as 0), a text written as UTF-8.
void source_walk::check_readings(const keyword_row& row, std::span<const field_record> values,
                                 std::size_t first_index) {
    for (std::size_t j = 0; j < values.size(); ++j) {
        const field_record& x = values[j];
        const auto index = static_cast<int32_t>(j);
        if (x.reading == field_reading::not_a_number ||
            (x.reading == field_reading::empty_as_zero && !empty_by_design(row, index))) {
            logged_warning w = at_field(x.reading == field_reading::not_a_number ? warning_code::not_a_number
                                                                                 : warning_code::empty_value,
                                        first_index + j);
            w.row = &row;
            w.value_index = index;
            note_warning(&log_, w);
        }
        if (x.width == field_width::text && x.role == field_role::value && looks_utf8(x.text)) {
            logged_warning w = at_field(warning_code::not_windows_1252, first_index + j);
            w.row = &row;
            w.value_index = index;
            note_warning(&log_, w);
        }
    }
}

// What the compiled fields keep of a line's values: a value that wraps, a
// tunnel that ends before it starts, a slowdown without length.
void source_walk::check_stored(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                               std::size_t first_index) {
    const auto wrapped = [&](int32_t index, int64_t value, int64_t stored) {
        logged_warning w =
            at_field(warning_code::value_wrapped, first_index + static_cast<std::size_t>(index));
        w.row = &row;
        w.value_index = index;
        w.value = value;
        w.stored = stored;
        note_warning(&log_, w);
    };
    const auto value = [&](std::size_t j) { return v[j].value_or(0); };
    // A value packed with others into one 16-bit field: `total` is the pack.
    const auto packed = [&](int32_t index, int64_t total) {
        if (fits16(total))
            return;
        logged_warning w =
            at_field(warning_code::value_wrapped, first_index + static_cast<std::size_t>(index));
        w.row = &row;
        w.value_index = index;
        w.value = value(static_cast<std::size_t>(index));
        w.stored = low16(total);
        w.other_value = total;
        note_warning(&log_, w);
    };
    switch (row.id) {
        case keyword::speed_limit:
            check_speed(row, 1, value(1), first_index);
            break;
        case keyword::speed_board:
            for (int32_t j : {5, 6, 7})
                check_speed(row, j, value(static_cast<std::size_t>(j)), first_index);
            packed(4, 10 * value(4) + value(8));  // dato4 = 10 strisces + strisced
            break;
        case keyword::curve:
            check_curve(row, value(0), value(1), first_index);
            break;
        case keyword::clock:
        case keyword::station:
            check_time(row, v, first_index);
            break;
        case keyword::gradient:
            if (value(1) < -100 || value(1) > 155)
                wrapped(1, value(1), low8(value(1) + 100) - 100);
            break;
        case keyword::adhesion:
            if (value(1) < 0 || value(1) > 255)
                wrapped(1, value(1), low8(value(1)));
            break;
        case keyword::tunnel: {
            if (value(1) <= value(0)) {
                logged_warning w = at_field(warning_code::tunnel_end, first_index + 1);
                w.row = &row;
                w.value = value(0);
                w.stored = value(1);
                note_warning(&log_, w);
            }
            const int64_t tipo = value(2) > 10 ? value(2) - 10 : value(2);
            if (tipo < 0 || tipo > 255)
                wrapped(2, value(2), low8(tipo));
            check_tunnel(row, value(0), value(1), value(2), first_index);
            break;
        }
        case keyword::slowdown:
            if (value(2) <= 0) {
                logged_warning w = at_field(warning_code::slowdown_length, first_index + 2);
                w.row = &row;
                w.value = value(2);
                note_warning(&log_, w);
            }
            for (int32_t j : {1, 3, 5})
                if (!fits16(value(static_cast<std::size_t>(j))))
                    wrapped(j, value(static_cast<std::size_t>(j)), low16(value(static_cast<std::size_t>(j))));
            break;
        case keyword::abbattimento:
            if (value(1) > 0 && !fits16(value(1)))
                wrapped(1, value(1), low16(value(1)));
            break;
        case keyword::signal: {
            // Fields packed in 16 bits: dato4 = 10 rapp + 3 sx + dx, dato1..3 = 10 s + d.
            packed(1, 10 * value(5) + 3 * value(1) + value(6));
            for (int32_t j : {2, 3, 4})
                packed(j, 10 * value(static_cast<std::size_t>(j)) + value(static_cast<std::size_t>(j + 5)));
            int64_t tempo = value(10);
            if (tempo >= 1 && tempo <= 100)
                tempo = 101;
            if (value(1) == 2 && (tempo < 0 || tempo > 255))
                wrapped(10, value(10), low8(tempo));
            break;
        }
        default:
            break;
    }
}

// A position beyond the route length lies in the run-off after it.
void source_walk::check_run_off(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                                std::size_t first_index) {
    const int64_t route = s_.voci[voce_treno].valore2;
    if (positioned(row.item) && s_.lunghezza_estesa > 0 && v[0] && *v[0] > route) {
        logged_warning w = at_field(warning_code::in_run_off, first_index);
        w.row = &row;
        w.value = *v[0];
        w.stored = route;
        note_warning(&log_, w);
    }
}

// A speed that a compiled field keeps in fifths of km/h: one that is not a
// multiple of 5 is rounded (halves to even) to the nearest multiple.
void source_walk::check_speed(const keyword_row& row, int32_t index, int64_t speed, std::size_t first_index) {
    if (speed % 5 == 0)
        return;
    logged_warning w = at_field(warning_code::speed_rounded, first_index + static_cast<std::size_t>(index));
    w.row = &row;
    w.value_index = index;
    w.value = speed;
    w.stored = static_cast<int64_t>(std::nearbyint(static_cast<double>(speed) / 5.0)) * 5;
    note_warning(&log_, w);
}

// Tunnels are recorded in file order: a later tunnel's class overwrites an
// earlier one's in the cells they share, and a tunnel that starts 150 m or
// less after the previous line's end takes class 3 (so does one that lies
// before it).
void source_walk::check_tunnel(const keyword_row& row, int64_t inizio, int64_t fine, int64_t tipo,
                               std::size_t first_index) {
    if (static_cast<double>(inizio + 100) / 50.0 > s_.n_celle || inizio < 0)
        return;  // not recorded: the reading stopped here
    const auto first_cell = static_cast<int64_t>(std::nearbyint(static_cast<double>(inizio) / 50.0));
    const auto last_cell = static_cast<int64_t>(std::nearbyint(static_cast<double>(fine) / 50.0 - 1.0));
    const int64_t written_class = tipo > 10 ? tipo - 10 : tipo;
    const tunnel_seen* previous = tunnels_.empty() ? nullptr : &tunnels_.back();
    const bool made_class_3 = previous != nullptr && inizio - previous->fine <= 150 && written_class != 3;
    const tunnel_seen* shared = nullptr;
    if (last_cell >= first_cell)
        for (const tunnel_seen& t : tunnels_)
            if (shared == nullptr && t.last_cell >= t.first_cell && first_cell <= t.last_cell &&
                t.first_cell <= last_cell)
                shared = &t;
    const tunnel_seen* other = shared;
    if (other == nullptr && previous != nullptr && inizio < previous->inizio)
        other = previous;
    if (other != nullptr) {
        logged_warning w = at_field(
            shared != nullptr ? warning_code::tunnel_overlap : warning_code::tunnel_order, first_index, 2);
        w.row = &row;
        w.value = inizio;
        w.stored = fine;
        w.other_value = made_class_3 ? 1 : 0;  // its class became 3
        w.other = other->place;
        note_warning(&log_, w);
    }
    // Class 0 is what cells outside tunnels hold: such a tunnel leaves no class.
    const bool class_3 = previous != nullptr && inizio - previous->fine <= 150;
    if (written_class == 0 && !class_3 && last_cell >= first_cell) {
        logged_warning w = at_field(warning_code::value_ignored, first_index + 2);
        w.row = &row;
        w.value_index = 2;
        w.value = tipo;
        note_warning(&log_, w);
    }
    tunnels_.push_back({inizio, fine, first_cell, last_cell, keyword_place(row)});
}

// The track plan is built metre by metre: a curve that starts before the
// point the previous curve reached bends only from there.
void source_walk::check_curve(const keyword_row& row, int64_t start, int64_t length,
                              std::size_t first_index) {
    if (static_cast<double>(start + 100) / 50.0 > s_.n_celle)
        return;  // not read: the reading stopped here
    const int64_t reached = plan_index_;
    if (length <= 0) {
        logged_warning w = at_field(warning_code::curve_length, first_index + 1);
        w.row = &row;
        w.value = length;
        note_warning(&log_, w);
    } else if (reached > start + 1 && last_curve_.known) {
        logged_warning w = at_field(warning_code::curve_overlap, first_index, 2);
        w.row = &row;
        w.value = start;
        w.stored = reached - 1;  // the last point the previous curve set
        w.other_value = start + length;
        w.other = last_curve_;
        note_warning(&log_, w);
    }
    plan_index_ = std::max({plan_index_, start + 1, start + length + 1});
    last_curve_ = keyword_place(row);
}

// Hours, minutes and seconds of the clock and of a station: each within a
// day, and station times that do not go back. A station with time 0 is
// passed and has no time; a time more than 12 hours before the previous one
// is taken as the next day's (the run went past midnight).
void source_walk::check_time(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                             std::size_t first_index) {
    const std::size_t h = row.id == keyword::station ? 13 : 0;
    const int64_t hours = v[h].value_or(0);
    const int64_t minutes = v[h + 1].value_or(0);
    const int64_t seconds = v[h + 2].value_or(0);
    const int64_t total = static_cast<int32_t>(static_cast<uint32_t>(hours * 3600 + minutes * 60 + seconds));
    const std::array<std::pair<int64_t, int64_t>, 3> limits = {{{hours, 23}, {minutes, 59}, {seconds, 59}}};
    for (std::size_t k = 0; k < limits.size(); ++k) {
        if (limits[k].first >= 0 && limits[k].first <= limits[k].second)
            continue;
        logged_warning w = at_field(warning_code::time_out_of_range, first_index + h + k);
        w.row = &row;
        w.value_index = static_cast<int32_t>(h + k);
        w.value = limits[k].first;
        w.stored = total;
        note_warning(&log_, w);
        break;
    }
    if (row.id != keyword::station || total == 0)
        return;
    constexpr int64_t half_day = 12 * 3600;
    if (last_time_ && total < *last_time_ && *last_time_ - total <= half_day) {
        logged_warning w = at_field(warning_code::time_backwards, first_index + h, 3);
        w.row = &row;
        w.value = total;
        w.other_value = *last_time_;
        w.other = last_timed_;
        note_warning(&log_, w);
    }
    last_time_ = total;
    last_timed_ = keyword_place(row);
}

// A line that sets one value of the scenario (the route length, a
// progressive, the train's make-up, the clock ...): a second one replaces
// what the first one set.
void source_walk::check_repeated(const keyword_row& row) {
    switch (row.item) {
        case line_item::route_length:
        case line_item::progressive:
        case line_item::scenery:
        case line_item::signal_repetition:
        case line_item::braked_mass:
        case line_item::coaches:
        case line_item::clock:
        case line_item::sand:
            break;
        default:
            return;
    }
    for (auto& [id, place] : settings_) {
        if (id != row.id)
            continue;
        logged_warning w = at_field(warning_code::repeated_setting, keyword_);
        w.row = &row;
        w.other = place;
        note_warning(&log_, w);
        place = keyword_place(row);
        return;
    }
    settings_.emplace_back(row.id, keyword_place(row));
}

// A position that picks a cell: one that is not a multiple of 50 is taken to
// the cell boundary the rounding gives (cell = position / 50 + offset,
// halves to even).
void source_walk::check_cell_position(const keyword_row& row, int32_t index, int64_t position, int32_t offset,
                                      std::size_t first_index) {
    if (position % 50 == 0)
        return;
    logged_warning w =
        at_field(warning_code::position_rounded, first_index + static_cast<std::size_t>(index));
    w.row = &row;
    w.value_index = index;
    w.value = position;
    w.stored =
        (static_cast<int64_t>(std::nearbyint(static_cast<double>(position) / 50.0 + offset)) - offset) * 50;
    note_warning(&log_, w);
}

void source_walk::check_positions(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                                  std::size_t first_index) {
    const auto value = [&](std::size_t j) { return v[j].value_or(0); };
    switch (row.id) {
        case keyword::speed_limit:
        case keyword::adhesion:
        case keyword::gradient:
        case keyword::abbattimento:
            check_cell_position(row, 0, value(0), 0, first_index);
            break;
        case keyword::tunnel:
            check_cell_position(row, 0, value(0), 0, first_index);
            check_cell_position(row, 1, value(1), -1, first_index);
            break;
        case keyword::speed_board:
        case keyword::tunnel_board:
        case keyword::signal:
            check_cell_position(row, 0, value(0), 1, first_index);
            break;
        case keyword::slowdown:
            check_cell_position(row, 0, value(0), 1, first_index);
            if (value(0) % 50 == 0)  // the end then moves only for the length
                check_cell_position(row, 2, value(0) + value(2), 1, first_index);
            break;
        default:
            break;
    }
}

// Values the compiler replaces or leaves out by rule: a signal's time (kept
// only with sx 2, and 1 to 100 kept as 101), a slowdown's approach flag at
// 1500 m or less (no advance cell there), a station's byte5 (0 for areas under
// 600 m and for the first station) and byte4 (0 for kinds 5 to 8 and for the
// first station). `stored` is what is kept.
void source_walk::check_ignored(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                                std::size_t first_index) {
    const auto value = [&](std::size_t j) { return v[j].value_or(0); };
    const auto ignored = [&](int32_t index, int64_t stored) {
        logged_warning w =
            at_field(warning_code::value_ignored, first_index + static_cast<std::size_t>(index));
        w.row = &row;
        w.value_index = index;
        w.value = value(static_cast<std::size_t>(index));
        w.stored = stored;
        note_warning(&log_, w);
    };
    switch (row.id) {
        case keyword::signal:
            if (value(1) != 2 && value(10) != 0)
                ignored(10, 0);
            else if (value(1) == 2 && value(10) >= 1 && value(10) <= 100)
                ignored(10, 101);
            break;
        case keyword::slowdown:
            if (value(0) <= 1500 && value(4) != 0)
                ignored(4, 0);
            break;
        case keyword::station: {
            const bool first_station = stations_ == 0;
            if (value(4) != 0 && (first_station || value(2) < 600))
                ignored(4, 0);
            if (value(5) != 0 && (first_station || (value(1) >= 5 && value(1) <= 8)))
                ignored(5, 0);
            break;
        }
        default:
            break;
    }
}

// The ordering of the three kilometric progressives stores all nine values
// as 0 when no start (valore1) is strictly the largest, or, with starts that
// add up to 0, when no end (valore2) is above 0. Noted at the first line
// that gave a value.
void source_walk::check_progressives() {
    // Per progressive, the last line read (the one whose values were ordered).
    std::array<int64_t, 3> starts{};
    std::array<std::size_t, 3> last_line = {end_, end_, end_};
    for (std::size_t i = first_; i < end_; ++i) {
        if (f(i).role != field_role::keyword)
            continue;
        const std::string lowered = lower_ascii(f(i).text);
        const std::span<const field_record> line = fields_of_line(log_, static_cast<int32_t>(i));
        const std::array<keyword, 3> ids = {keyword::progressive_three, keyword::progressive_two,
                                            keyword::progressive_one};
        for (std::size_t k = 0; k < ids.size(); ++k) {
            if (!keyword_info(ids[k]).matches(f(i).text, lowered, true) || line.size() < 4)
                continue;
            starts[k] = line[1].value;
            last_line[k] = line[1].value != 0 || line[2].value != 0 || line[3].value != 0 ? i : end_;
        }
    }
    const std::size_t first_given = *std::min_element(last_line.begin(), last_line.end());
    if (first_given == end_)
        return;
    for (int slot : {voce_progressiva_tre, voce_progressiva_due, voce_progressiva_uno}) {
        const voce& p = s_.voci[static_cast<std::size_t>(slot)];
        if (p.valore1 != 0 || p.valore2 != 0 || p.valore3 != 0)
            return;
    }
    logged_warning w = at_field(warning_code::progressives_dropped, first_given);
    w.value = starts[0] + starts[1] + starts[2];
    w.stored = *std::max_element(starts.begin(), starts.end());
    note_warning(&log_, w);
}

// A byte-order mark or UTF-16 shows in the first field. False when the source
// is UTF-16: its fields say nothing more.
bool source_walk::encoding_of_source() {
    const std::string_view raw = f(first_).raw;
    const bool utf16 = raw.starts_with("\xFF\xFE") || raw.starts_with("\xFE\xFF") ||
                       (raw.size() >= 2 && raw.find('\0') != std::string_view::npos);
    if (utf16) {
        note_warning(&log_, at_field(warning_code::utf16_file, first_));
        return false;
    }
    if (raw.starts_with("\xEF\xBB\xBF"))
        note_warning(&log_, at_field(warning_code::byte_order_mark, first_));
    return true;
}

void source_walk::run() {
    if (first_ >= end_ || !encoding_of_source())
        return;
    int32_t dash_line = 0;
    std::size_t i = first_;
    while (i < end_) {
        const field_record& k = f(i);
        if (k.role != field_role::keyword) {
            ++i;
            continue;
        }
        const std::string lowered = lower_ascii(k.text);
        if (part_ == part::before_header) {
            if (contains(lowered, general_header)) {
                part_ = source_ == sorgente_testo::linea ? part::general : part::body;
                header_line_ = k.line;
            }
            ++i;
            continue;
        }
        // Empty fields, "-" lines and headings are passed over by design.
        if (contains(k.text, "-"))
            dash_line = k.line;
        if (k.text.empty() || k.line == dash_line) {
            ++i;
            continue;
        }
        std::vector<const keyword_row*> matched;
        for (const keyword_row& r : rows())
            if (r.matches(k.text, lowered, s_.compila_linea != 0))
                matched.push_back(&r);
        if (!matched.empty()) {
            i = read_line(i, matched);
            continue;
        }
        if (is_heading(k.text)) {
            if (part_ == part::general && ends_general_section(k.text))
                part_ = part::body;
            ++i;
            continue;
        }
        // A curve line without the track plan is passed over as the program does.
        if (part_ == part::body && source_ == sorgente_testo::linea &&
            keyword_info(keyword::curve).matches(k.text, lowered, true)) {
            i = std::min(i + 3, end_);
            continue;
        }
        // A keyword the reader knows elsewhere, or with another case.
        const keyword_row* elsewhere = nullptr;
        warning_code c = warning_code::unknown_keyword;
        for (auto rs : {line_general_keywords(), line_body_keywords(), run_keywords()}) {
            for (const keyword_row& r : rs) {
                if (elsewhere == nullptr && r.matches(lowered, lowered, true)) {
                    elsewhere = &r;
                    const bool same_part = rs.data() == rows().data();
                    c = same_part ? warning_code::keyword_case : warning_code::misplaced_keyword;
                }
            }
        }
        i = swallow(i, c, elsewhere);
    }
    if (source_ != sorgente_testo::corsa) {
        check_progressives();
        return;
    }
    if (part_ == part::before_header) {
        logged_warning w = at_field(warning_code::run_general_missing, first_);
        w.place.line = 1;
        note_warning(&log_, w);
    } else if (stations_ == 0) {
        logged_warning w;
        w.code = warning_code::no_station;
        w.place = {true, source_, header_line_, line_item::none, -1};
        note_warning(&log_, w);
    }
}

bool ascii(std::string_view t) {
    return std::all_of(t.begin(), t.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::span<const std::string_view> warning_names() {
    return names;
}

std::string_view warning_name(warning_code c) {
    const auto i = static_cast<std::size_t>(c);
    return i < names.size() ? names[i] : std::string_view{};
}

std::optional<warning_code> warning_from_name(std::string_view name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<warning_code>(i);
    return std::nullopt;
}

void note_warning(compile_log* log, const logged_warning& w) {
    if (log == nullptr)
        return;
    uint32_t& found = log->warnings_found[static_cast<std::size_t>(w.code)];
    if (found++ < warnings_kept_per_code)
        log->warnings.push_back(w);
}

void note_profile_order(const log_at& at, int32_t position, const source_place& previous,
                        int32_t previous_position, int32_t applies_from) {
    if (at.log == nullptr)
        return;
    logged_warning w;
    w.code = warning_code::profile_order;
    w.place = at.place;
    w.field = at.place.keyword_field;
    const std::span<const field_record> line = fields_of_line(*at.log, at.place.keyword_field);
    if (!line.empty()) {
        w.first_column = line.front().first_column;
        w.last_column =
            line.back().line == line.front().line ? line.back().last_column : line.front().last_column;
        w.count = static_cast<int32_t>(line.size());
    }
    w.value = position;
    w.stored = int64_t{applies_from} * 50;
    w.other = previous;
    w.other_value = previous_position;
    note_warning(at.log, w);
}

void find_warnings(const stato_scenario& s, compile_log& log) {
    if (!ascii(s.nome_scenario) || !ascii(s.numero_treno)) {
        logged_warning w;
        w.code = warning_code::name_not_ascii;
        w.value = ascii(s.nome_scenario) ? 1 : 0;
        note_warning(&log, w);
    }
    // The line description's fields come first, then the run description's.
    std::size_t split = 0;
    while (split < log.fields.size() && log.fields[split].source == sorgente_testo::linea)
        ++split;
    source_walk(s, log, sorgente_testo::linea, 0, split).run();
    source_walk(s, log, sorgente_testo::corsa, split, log.fields.size()).run();
    route::find_running_time_warnings(s, log);
}

}  // namespace scenario
