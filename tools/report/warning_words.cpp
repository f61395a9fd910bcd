#include "tools/report/warning_words.h"

#include "compiler/keywords.h"
#include "compiler/warning_causes.h"
#include "compiler/warnings.h"
#include "tools/report/diagnostics.h"
#include "tools/report/report_order.h"
#include "tools/report/text_encoding.h"

#include <algorithm>
#include <cstdio>

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

class wording {
public:
    wording(const stato_scenario& s, const compile_log& log) : s_(s), log_(log) {}

    std::string message(const logged_warning& w) const;

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
        return "the " + std::string(v.meaning) + " (" + std::string(v.name) + ", value " +
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

    std::string misplaced(const logged_warning& w) const;
    std::string utf8(const logged_warning& w) const;

    const stato_scenario& s_;
    const compile_log& log_;
};

std::string wording::misplaced(const logged_warning& w) const {
    const std::string k = text(w);
    const std::string rest = values_swallowed(w.count - 1);
    if (w.row == nullptr)
        return k + " matches no keyword: " + rest;
    const std::string spelled =
        quoted(w.row->writer_spellings.empty() ? w.row->part1 : w.row->writer_spellings[0]);
    switch (w.row->section) {
        case keyword_section::general:
            if (w.place.source == sorgente_testo::corsa)
                return k + " is a keyword of the line description, not of the run description: " + rest;
            return k + " is a general-section keyword (" + spelled +
                   "), but the general section ended at the first heading with '[' and ']': " + rest;
        case keyword_section::body:
            if (w.place.source == sorgente_testo::corsa)
                return k + " is a keyword of the line description, not of the run description: " + rest;
            return k + " is a keyword of the line's body (" + spelled +
                   "), but the general section has not ended yet (the first heading with '[' and ']', such "
                   "as "
                   "'[curve]', ends it): " +
                   rest;
        case keyword_section::run:
            return k + " is a keyword of the run description, not of the line description: " + rest;
    }
    return k + ": " + rest;
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
            return text(w) + " is read as the keyword " + quoted(w.row->part1) + " with '" + number +
                   "' as part of it, not as a value (a comma is probably missing): the " + item(w) +
                   " takes its values from the fields after it";
        }
        case warning_code::keyword_in_text: {
            std::string t = text(w) + " holds the keyword " + quoted(w.row->part1);
            if (w.other_value > 1)
                t += " and " + quoted(keyword_info(static_cast<keyword>(w.stored)).part1);
            return t + ", so it is read as a " + item(w) + " line and takes " +
                   plural(static_cast<int64_t>(w.row->values.size()), "value", "values") +
                   " from the fields after it";
        }
        case warning_code::not_a_number:
            return text(w) + " is not a whole number: " + value_name(w) + " of this " + item(w) +
                   " line is read as 0";
        case warning_code::empty_value:
            return value_name(w) + " of this " + item(w) + " line is empty and read as 0";
        case warning_code::too_many_fields:
            return plural(w.count, "field", "fields") + " left after the values of the line before (" +
                   text(w) + (w.count > 1 ? ", " + following(w) : std::string()) +
                   "): they are read as keyword fields and ignored; an extra comma shifts the values before "
                   "them";
        case warning_code::too_few_fields: {
            const field_record* f = field(w);
            return "this " + item(w) + " line takes " + plural(w.value, "value", "values") +
                   " but holds only " + std::to_string(w.stored) + ": the rest are read from line " +
                   std::to_string(f != nullptr ? f->line : 0) + ", starting with " + text(w);
        }
        case warning_code::value_wrapped:
            return value_name(w) + " " + std::to_string(w.value) +
                   " does not fit its field in the compiled file: " + "it is stored as " +
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
    }
    return std::string(warning_name(w.code));
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
