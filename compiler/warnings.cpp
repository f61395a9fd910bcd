// Warnings: their names, how one is kept, and the walk over each source's
// recorded fields that finds most of them (its checks in warning_*_checks.cpp).
#include "compiler/warnings.h"

#include "compiler/cell_rules.h"
#include "compiler/keywords.h"
#include "compiler/low_bits.h"
#include "compiler/nearest_keyword.h"
#include "compiler/running_times.h"
#include "compiler/text_case.h"
#include "compiler/warning_walk.h"

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

using warning_walk::source_walk;

}  // namespace

namespace warning_walk {

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
    return section_ == source_section::line_general ? line_general_keywords() : line_body_keywords();
}

bool source_walk::matches_any(std::span<const keyword_row> rs, const field_record& k, bool any_case) const {
    const std::string lowered = lower_ascii(k.text);
    for (const keyword_row& r : rs)
        if (r.matches(any_case ? lowered : k.text, lowered, true))
            return true;
    return false;
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
        section_ = k.section;
        if (section_ == source_section::before_header) {
            if (k.opens)
                header_line_ = k.line;
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
            ++i;
            continue;
        }
        // A curve line without the track plan is passed over as the program does.
        if (section_ == source_section::line_body &&
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
    if (header_line_ == 0) {
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

}  // namespace warning_walk

namespace {

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
    w.stored = route::cell_span(applies_from).from;
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
