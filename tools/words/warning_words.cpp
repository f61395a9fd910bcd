#include "tools/words/warning_words.h"

#include "compiler/keywords.h"
#include "compiler/warning_causes.h"
#include "compiler/warnings.h"
#include "tools/words/diagnostics.h"
#include "tools/words/report_order.h"
#include "tools/words/text_encoding.h"

#include <algorithm>
#include <cstdio>
#include <span>

namespace scenario::tool {

namespace {

std::string metres(int64_t v) {
    return std::to_string(v) + " m";
}

// A field as written, shortened, in quotes.
std::string quoted(std::string_view t) {
    std::string q = t.size() > 60 ? std::string(t.substr(0, 60)) + "..." : std::string(t);
    return "'" + q + "'";
}

std::string plural(int64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string two_digits(int64_t v) {
    return (v < 10 ? "0" : "") + std::to_string(v);
}

// Seconds after midnight as "08:35:00"; a value outside one day says so.
std::string time_of_day(int64_t seconds) {
    if (seconds < 0 || seconds >= 24 * 3600)
        return std::to_string(seconds) + " s after midnight, outside one day";
    return two_digits(seconds / 3600) + ":" + two_digits(seconds / 60 % 60) + ":" + two_digits(seconds % 60);
}

// A length of time as "3 min 48 s".
std::string duration(int64_t seconds) {
    if (seconds < 60)
        return std::to_string(seconds) + " s";
    return std::to_string(seconds / 60) + " min " + two_digits(seconds % 60) + " s";
}

// The unit of a clock or station time field, by its place among hours, minutes, seconds.
const char* time_unit(int32_t k) {
    return k == 0 ? "hours" : k == 1 ? "minutes" : "seconds";
}

class wording {
public:
    wording(const stato_scenario& s, const compile_log& log) : s_(s), log_(log) {}

    std::string message(const logged_warning& w) const;
    related_place related(const logged_warning& w) const;

private:
    const field_record* field(const logged_warning& w, int32_t k = 0) const {
        const int64_t i = int64_t{w.field} + k;
        return w.field >= 0 && i < static_cast<int64_t>(log_.fields.size())
                   ? &log_.fields[static_cast<std::size_t>(i)]
                   : nullptr;
    }
    std::string text(const logged_warning& w, int32_t k = 0) const {
        const field_record* f = field(w, k);
        return f == nullptr ? std::string("?") : quoted(f->width == field_width::text ? f->text : f->raw);
    }
    // The fields after the first one of the warning, quoted.
    std::string following(const logged_warning& w) const {
        std::string t;
        for (int32_t k = 1; k < w.count && k <= 5; ++k)
            t += (k > 1 ? ", " : "") + text(w, k);
        if (w.count > 6)
            t += ", ...";
        return t;
    }
    static std::string value_name(const logged_warning& w) {
        if (w.row == nullptr || w.value_index < 0 ||
            static_cast<std::size_t>(w.value_index) >= w.row->values.size())
            return "a value";
        const value_field& v = w.row->values[static_cast<std::size_t>(w.value_index)];
        // The meaning without its explanation in brackets, which would stand beside the name's.
        const std::string_view meaning = v.meaning.substr(0, v.meaning.find(" ("));
        return "the " + std::string(meaning) + " (" + std::string(v.name) + ", value " +
               std::to_string(w.value_index + 1) + ")";
    }
    static std::string item(const logged_warning& w) {
        return w.row == nullptr ? std::string("line") : element_name(w.row->item);
    }
    static std::string values_swallowed(int32_t n) {
        if (n <= 0)
            return "the line is ignored";
        return "its " + plural(n, "value is", "values are") + " read as keyword fields and nothing is stored";
    }

    // The values of the line at `p` (its keyword field first); empty when not recorded.
    std::span<const field_record> line_at(const source_place& p) const {
        return fields_of_line(log_, p.keyword_field);
    }
    int64_t value_of(const source_place& p, std::size_t k) const {
        const std::span<const field_record> line = line_at(p);
        return k + 1 < line.size() ? line[k + 1].value : 0;
    }

    // The keyword as the writers spell it (the first of their spellings).
    static std::string spelling(const keyword_row& row) {
        return std::string(row.writer_spellings.empty() ? row.part1 : row.writer_spellings[0]);
    }
    // True when the warning's field is exactly one of its keyword's spellings.
    bool written_as_keyword(const logged_warning& w) const {
        const field_record* f = field(w);
        if (f == nullptr || w.row == nullptr)
            return false;
        std::string t = f->text;
        if (w.row->ignore_case)
            std::transform(t.begin(), t.end(), t.begin(), [](char c) {
                return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            });
        if (t == w.row->part1)
            return true;
        return std::find(w.row->writer_spellings.begin(), w.row->writer_spellings.end(), t) !=
               w.row->writer_spellings.end();
    }

    // Why the compiler replaced or left out a value (value-ignored).
    static std::string ignored_because(const logged_warning& w) {
        const keyword id = w.row != nullptr ? w.row->id : keyword::signal;
        if (id == keyword::signal)
            return w.stored == 0 ? "a signal's time is kept only when its sx is 2"
                                 : "a signal time from 1 to 100 is kept as 101";
        if (id == keyword::tunnel)
            return "class 0 is what the cells outside tunnels hold: the tunnel leaves no class in its cells";
        if (id == keyword::slowdown)
            return "a slowdown at 1500 m or less has no advance cell, so no approach cells either";
        if (w.value_index == 4)
            return "byte5 is kept only for a station area of 600 m or more, and never for the first station";
        return "byte4 is kept neither for station kinds 5 to 8 nor for the first station (the first "
               "station's "
               "area still ends 50 m later)";
    }

    std::string misplaced(const logged_warning& w) const;
    std::string utf8(const logged_warning& w) const;
    std::string surplus(const logged_warning& w) const;
    std::string tunnel(const logged_warning& w) const;
    std::string curve(const logged_warning& w) const;
    std::string time_range(const logged_warning& w) const;

    const stato_scenario& s_;
    const compile_log& log_;
};

std::string wording::misplaced(const logged_warning& w) const {
    const std::string k = text(w);
    const std::string rest = values_swallowed(w.count - 1);
    if (w.row == nullptr)
        return k + " matches no keyword: " + rest;
    // The keyword named apart only when the field is more than one of its spellings.
    const std::string is_or_holds =
        written_as_keyword(w) ? " is " : " holds " + quoted(spelling(*w.row)) + ", ";
    switch (w.row->section) {
        case keyword_section::general:
            if (w.place.source == sorgente_testo::corsa)
                return k + is_or_holds +
                       "a keyword of the line description, not of the run description: " + rest;
            return k + is_or_holds +
                   "a general-section keyword, but the general section ended at the first heading with '[' "
                   "and "
                   "']': " +
                   rest;
        case keyword_section::body:
            if (w.place.source == sorgente_testo::corsa)
                return k + is_or_holds +
                       "a keyword of the line description, not of the run description: " + rest;
            return k + is_or_holds +
                   "a keyword of the line's body, but the general section has not ended yet (the first "
                   "heading "
                   "with '[' and ']', such as '[curve]', ends it): " +
                   rest;
        case keyword_section::run:
            return k + is_or_holds + "a keyword of the run description, not of the line description: " + rest;
    }
    return k + ": " + rest;
}

std::string wording::surplus(const logged_warning& w) const {
    const std::string fields = plural(w.count, "field", "fields");
    const std::string list = "(" + text(w) + (w.count > 1 ? ", " + following(w) : std::string()) + ")";
    const std::string read = w.count == 1 ? ": it is read as a keyword field and ignored"
                                          : ": they are read as keyword fields and ignored";
    std::string after;
    if (w.row == nullptr)
        after = "after a line's values";
    else if (w.other.line == w.place.line)
        after = "after the " + plural(static_cast<int64_t>(w.row->values.size()), "value", "values") +
                " of this " + item(w) + " line";
    else
        after = "after the values of the " + item(w) + " line that starts on line " +
                std::to_string(w.other.line);
    return fields + " left " + after + " " + list + read + "; an extra comma shifts the values before " +
           (w.count == 1 ? "it" : "them");
}

std::string wording::tunnel(const logged_warning& w) const {
    const std::string other = "the tunnel of line " + std::to_string(w.other.line) + " (" +
                              metres(value_of(w.other, 0)) + " to " + metres(value_of(w.other, 1)) + ")";
    std::string t = "the tunnel from " + metres(w.value) + " to " + metres(w.stored);
    if (w.code == warning_code::tunnel_overlap)
        t += " shares cells with " + other +
             ": a cell holds one tunnel class, so in the cells they share this later line's class replaces "
             "the "
             "earlier one";
    else
        t += " lies before " + other + ", the tunnel line before it: the tunnel lines must ascend";
    if (w.other_value == 1)
        t += "; it also starts 150 m or less after the end of the tunnel line before it, so its class is "
             "stored as 3";
    return t;
}

std::string wording::curve(const logged_warning& w) const {
    const int64_t end = w.other_value;
    std::string t = "the curve starts at " + metres(w.value) + ", but the curve of line " +
                    std::to_string(w.other.line) + " has already laid the track plan up to " +
                    metres(w.stored) + ": the plan goes on from there, so this curve ";
    if (end <= w.stored)
        return t + "bends nowhere (it would end at " + metres(end) + ")";
    return t + "bends from " + metres(w.stored) + " to " + metres(end) + ", " + metres(w.stored - w.value) +
           " less than written";
}

std::string wording::time_range(const logged_warning& w) const {
    const bool station = w.row != nullptr && w.row->id == keyword::station;
    const int32_t k = w.value_index - (station ? 13 : 0);
    const std::string range = k == 0 ? "0 to 23" : "0 to 59";
    std::string t = std::string(station ? "the station's " : "the clock's ") + time_unit(k) + " " +
                    std::to_string(w.value) + " lie outside " + range;
    if (station)
        return t + ": the time is stored as " + std::to_string(w.stored) + " s after midnight (" +
               time_of_day(w.stored) + ")";
    return t + ": the clock keeps the three values as written, which name no time of day (" +
           time_of_day(w.stored) + " if counted through)";
}

std::string wording::utf8(const logged_warning& w) const {
    const field_record* f = field(w);
    if (f == nullptr)
        return "a text is written as UTF-8";
    std::string bytes;
    for (unsigned char c : f->text) {
        if (c < 0x80)
            continue;
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", c);
        bytes += (bytes.empty() ? "" : " ") + std::string(hex);
    }
    return value_name(w) + " " + quoted(f->text) + " is written as UTF-8 (bytes " + bytes +
           "): the simulator reads Windows-1252 and shows " + quoted(from_windows1252(f->text));
}

std::string wording::message(const logged_warning& w) const {
    switch (w.code) {
        case warning_code::unknown_keyword:
        case warning_code::misplaced_keyword:
            if (!w.nearest_keyword.empty())
                return misplaced(w) + "; did you mean " + quoted(w.nearest_keyword) + "?";
            return misplaced(w);
        case warning_code::keyword_case:
            return text(w) + " is not read as " +
                   quoted(w.row != nullptr && !w.row->writer_spellings.empty() ? w.row->writer_spellings[0]
                                                                               : "") +
                   ": that keyword must be written in lower case; " + values_swallowed(w.count - 1);
        case warning_code::missing_comma: {
            const field_record* f = field(w);
            const std::string_view t = f != nullptr ? std::string_view(f->text) : std::string_view{};
            const std::string number(t.substr(std::min(t.size(), t.find_last_of(" \t") + 1)));
            return text(w) + " is read as the keyword " + quoted(spelling(*w.row)) + " with '" + number +
                   "' as part of it, not as a value (a comma is probably missing): the " + item(w) +
                   " takes its values from the fields after it";
        }
        case warning_code::keyword_in_text: {
            const std::string takes = plural(static_cast<int64_t>(w.row->values.size()), "value", "values");
            if (w.other_value > 1) {
                const keyword_row& second = keyword_info(static_cast<keyword>(w.stored));
                return text(w) + " holds the keywords " + quoted(w.row->part1) + " and " +
                       quoted(second.part1) + ", so it is read as a " + item(w) + " line (" + takes +
                       ") and then as a " + element_name(second.item) + " line (" +
                       plural(static_cast<int64_t>(second.values.size()), "value", "values") +
                       "), each taking its values from the fields after it";
            }
            return text(w) + " holds the keyword " + quoted(w.row->part1) + ", so it is read as a " +
                   item(w) + " line and takes " + takes + " from the fields after it";
        }
        case warning_code::not_a_number:
            return text(w) + " is not a whole number: " + value_name(w) + " of this " + item(w) +
                   " line is read as 0";
        case warning_code::empty_value:
            return value_name(w) + " of this " + item(w) + " line is empty and read as 0";
        case warning_code::too_many_fields:
            return surplus(w);
        case warning_code::too_few_fields: {
            const field_record* f = field(w);
            return "this " + item(w) + " line takes " + plural(w.value, "value", "values") +
                   " but holds only " + std::to_string(w.stored) + ": the rest are read from line " +
                   std::to_string(f != nullptr ? f->line : 0) + ", starting with " + text(w);
        }
        case warning_code::value_wrapped:
            if (w.other_value != 0)
                return value_name(w) + " " + std::to_string(w.value) + " is packed with other values (" +
                       std::string(w.row->values[static_cast<std::size_t>(w.value_index)].kept) + ") into " +
                       std::to_string(w.other_value) +
                       ", which does not fit the compiled field's 16 bits: it is stored as " +
                       std::to_string(w.stored);
            return value_name(w) + " " + std::to_string(w.value) +
                   " does not fit its field in the compiled file: it is stored as " +
                   std::to_string(w.stored);
        case warning_code::profile_order: {
            const std::string what = element_name(w.place.item);
            std::string t = what + " line at " + metres(w.value);
            t += w.value == w.other_value ? " repeats the position of line "
                                          : " lies before the previous " + what + " line, line ";
            t += std::to_string(w.other.line) + " at " + metres(w.other_value) +
                 ": the lines must ascend and cells already filled are not filled again, so this value "
                 "applies "
                 "only from " +
                 metres(w.stored);
            return t;
        }
        case warning_code::tunnel_end:
            return "the tunnel ends at " + metres(w.stored) + ", not after its start at " + metres(w.value) +
                   ": it covers no cell, but counts among the 80 tunnels";
        case warning_code::slowdown_length:
            return "the slowdown's length is " + metres(w.value) +
                   ": its end does not lie after its start, so it slows nothing";
        case warning_code::speed_rounded:
            return value_name(w) + " " + std::to_string(w.value) +
                   " km/h is not a multiple of 5: the compiled field keeps speeds in steps of 5 km/h, so it "
                   "is "
                   "stored as " +
                   std::to_string(w.stored) + " km/h";
        case warning_code::tunnel_overlap:
        case warning_code::tunnel_order:
            return tunnel(w);
        case warning_code::curve_overlap:
            return curve(w);
        case warning_code::curve_length:
            return "the curve's length is " + metres(w.value) +
                   ": it bends nowhere, and the plan runs straight on";
        case warning_code::time_backwards:
            return "the station's time " + time_of_day(w.value) + " is earlier than " +
                   time_of_day(w.other_value) + ", the time of the previous station with a time (line " +
                   std::to_string(w.other.line) +
                   "): the times must not go back along the run (a step back of more than 12 hours is taken "
                   "as "
                   "passing midnight)";
        case warning_code::time_out_of_range:
            return time_range(w);
        case warning_code::repeated_setting:
            return text(w) + " is given again: this line replaces what line " + std::to_string(w.other.line) +
                   " set (only the last one counts)";
        case warning_code::position_rounded: {
            std::string what = value_name(w);
            if (w.row != nullptr && w.row->id == keyword::slowdown && w.value_index == 2)
                what = "the slowdown's end (its start plus its length)";
            return what + " " + metres(w.value) +
                   " is not a multiple of 50: the route is kept in 50 m cells, so the " + item(w) +
                   " is placed as if at " + metres(w.stored);
        }
        case warning_code::progressives_dropped: {
            const std::string why = w.value != 0
                                        ? "no start (valore1) is larger than both others: the largest, " +
                                              metres(w.stored) + ", is shared"
                                        : "the starts (valore1) add up to 0 and no end (valore2) is above 0";
            return "the three kilometric progressives are all stored as 0, the values of this line among "
                   "them: " +
                   why;
        }
        case warning_code::value_ignored: {
            const std::string kept = w.stored == 0 ? "not stored: the compiled field holds 0"
                                                   : "stored as " + std::to_string(w.stored);
            return value_name(w) + " " + std::to_string(w.value) + " is " + kept + ", because " +
                   ignored_because(w);
        }
        case warning_code::in_run_off:
            return item(w) + " at " + metres(w.value) + " lies beyond the route length (" + metres(w.stored) +
                   "), in the run-off after the line: the compile accepts it, but no plan is drawn there";
        case warning_code::not_windows_1252:
            return utf8(w);
        case warning_code::utf16_file:
            return "the file is written as UTF-16: the compiler reads 8-bit text, so no field reads as it "
                   "looks; "
                   "save it as 8-bit text (Windows-1252)";
        case warning_code::byte_order_mark:
            return "the file starts with a UTF-8 byte-order mark (EF BB BF): those bytes become part of the "
                   "first "
                   "field; save it without one";
        case warning_code::name_not_ascii: {
            const bool train = w.value == 1;
            return std::string(train ? "the train number " : "the scenario name ") +
                   quoted(valid_utf8(train ? s_.numero_treno : s_.nome_scenario)) +
                   " is not plain ASCII: it goes into the competition codes and the file names byte for byte";
        }
        case warning_code::run_general_missing:
            return "the run description has no field holding \"[generale]\": nothing in it was read";
        case warning_code::no_station:
            return "the run description stores no station";
        case warning_code::running_time:
            return "the timetable gives " + duration(w.value) +
                   " from the previous station with a time (line " + std::to_string(w.other.line) +
                   ") to this one, less than the " + duration(w.stored) +
                   " it takes at the permitted speed all the way" +
                   (w.other_value > 0 ? " with the " + std::to_string(w.other_value) + " s stop here" : "") +
                   ": no train can keep this time";
    }
    return std::string(warning_name(w.code));
}

// The other line a warning names, with what it is to this one.
related_place wording::related(const logged_warning& w) const {
    related_place r;
    r.source = w.other.source;
    r.line = w.other.line;
    const std::span<const field_record> line = line_at(w.other);
    r.column = line.empty() ? 0 : line.front().first_column;
    switch (w.code) {
        case warning_code::profile_order:
            r.message = "the line before it in the same profile";
            break;
        case warning_code::tunnel_overlap:
        case warning_code::tunnel_order:
            r.message = "the other tunnel";
            break;
        case warning_code::curve_overlap:
            r.message = "the curve before it";
            break;
        case warning_code::time_backwards:
            r.message = "the previous station with a time";
            break;
        case warning_code::repeated_setting:
            r.message = "the line it replaces";
            break;
        case warning_code::running_time:
            r.message = "the previous station with a time";
            break;
        default:
            r.message = "the line whose values these fields follow";
            break;
    }
    return r;
}

}  // namespace

worded_warnings word_warnings(const stato_scenario& s, const compile_log& log,
                              const std::vector<warning_code>& ignorati) {
    const auto ignored = [&](warning_code c) {
        return std::find(ignorati.begin(), ignorati.end(), c) != ignorati.end();
    };
    worded_warnings a;
    const wording words(s, log);
    std::array<uint32_t, warning_code_count> shown{};
    const std::vector<int32_t> causes = warning_causes(log);
    std::vector<std::optional<worded_warning>> worded(log.warnings.size());
    for (std::size_t i = 0; i < log.warnings.size(); ++i) {
        const logged_warning& w = log.warnings[i];
        if (ignored(w.code))
            continue;
        ++shown[static_cast<std::size_t>(w.code)];  // a restated one is not "not shown" either
        if (causes[i] == restated)
            continue;
        worded_warning v;
        v.code = w.code;
        if (w.place.known) {
            v.source = w.place.source;
            v.line = w.place.line;
        }
        v.first_column = w.first_column;
        v.last_column = std::max(w.first_column, w.last_column);
        v.message = words.message(w);
        if (w.other.known && w.other.line != v.line)
            v.related.push_back(words.related(w));
        worded[i] = std::move(v);
    }
    // Consequences go under their cause when it is reported; on their own
    // when it is ignored.
    for (std::size_t i = 0; i < worded.size(); ++i) {
        const int32_t c = causes[i];
        if (worded[i] && c >= 0 && worded[static_cast<std::size_t>(c)])
            worded[static_cast<std::size_t>(c)]->consequences.push_back(std::move(*worded[i]));
    }
    for (std::size_t i = 0; i < worded.size(); ++i) {
        const int32_t c = causes[i];
        if (!worded[i] || (c >= 0 && worded[static_cast<std::size_t>(c)]))
            continue;
        worded[i]->consequences = in_report_order(std::move(worded[i]->consequences));
        a.list.push_back(std::move(*worded[i]));
    }
    for (std::size_t c = 0; c < warning_code_count; ++c) {
        const auto code = static_cast<warning_code>(c);
        if (!ignored(code) && log.warnings_found[c] > shown[c])
            a.not_shown.emplace_back(code, log.warnings_found[c] - shown[c]);
    }
    return a;
}

std::size_t count_with_consequences(const std::vector<worded_warning>& list) {
    std::size_t n = 0;
    for (const worded_warning& w : list)
        n += 1 + count_with_consequences(w.consequences);
    return n;
}

}  // namespace scenario::tool
