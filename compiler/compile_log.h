// What a compile knows beyond what it writes: every error in order, the
// source line behind every item in the cells and records, and every field the
// readers read. Nothing of it reaches the compiled files; the compiler only
// writes it, so a compile with or without a log gives the same bytes.
#pragma once

#include "compiler/error_codes.h"
#include "compiler/state.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// What a line of a text source describes: the reader step that reads it.
enum class line_item : uint8_t {
    none,  // no step yet: a keyword field, or a line no step recognises
    // line description
    route_length,
    progressive,
    scenery,
    signal_repetition,
    gradient,
    curve,
    tunnel,
    speed_board,
    tunnel_board,
    // run description
    braked_mass,
    coaches,
    speed_limit,
    adhesion,
    clock,
    sand,
    signal,
    slowdown,
    abbattimento,
    station,
};

// A line of a text source: the source, its 1-based line number, the step that
// read it, and (when the fields were recorded) the index in
// `compile_log::fields` of its keyword field.
struct source_place {
    bool known = false;
    sorgente_testo source = sorgente_testo::linea;
    int32_t line = 0;
    line_item item = line_item::none;
    int32_t keyword_field = -1;
};

// One error as it was recorded; `codice_errore` and `posizione_errore` keep
// only the last one, as the simulator expects.
struct logged_error {
    error_code code = error_code::none;
    int32_t position = 0;
    bool has_position = false;  // false: the error left `posizione_errore` as it was
    // The source line behind it: the one being read, or, for an error found
    // after reading, the one that placed the item it concerns.
    source_place place;
    // The route cell it concerns: a cell found taken, a stop cell that lies
    // too early, the signal or slowdown start a sweep rule served.
    std::optional<int32_t> cell{};
    std::string detail{};  // why reading failed (error 25); empty otherwise
    // Error 25: the field being read when reading failed (index in
    // `compile_log::fields`; -1: none), and the line that holds the value
    // that failed when it is not the line being read.
    int32_t failed_field = -1;
    source_place value_line{};
    // The run phase stopped at this signal or slowdown line for an error an
    // earlier line left (the entry before it with the same code).
    bool inherited_stop = false;

    int32_t number() const { return error_number(code); }
};

struct keyword_row;

// Something the compile did that the author may not have meant; it changes
// nothing the compile writes. Each code names one kind; the order is the one
// `warning_names()` gives.
enum class warning_code : uint8_t {
    unknown_keyword,       // a keyword field that matches no keyword
    missing_comma,         // a keyword followed by a number in the same field
    keyword_in_text,       // a field of several words that holds a keyword
    misplaced_keyword,     // a keyword of another part of the sources
    keyword_case,          // a case-exact keyword written with capitals
    not_a_number,          // a number field that is not a number: read as 0
    empty_value,           // an empty number field: read as 0
    too_many_fields,       // fields left over after a line's values
    too_few_fields,        // a line's values taken from the next line
    value_wrapped,         // a value the compiled field keeps only in part
    profile_order,         // a profile line not after the one before it
    tunnel_end,            // a tunnel whose end is not after its start
    slowdown_length,       // a slowdown whose length is not positive
    speed_rounded,         // a speed stored in fifths that is not a multiple of 5
    tunnel_overlap,        // a tunnel that shares cells with an earlier one
    tunnel_order,          // a tunnel that starts before the tunnel line before it
    curve_overlap,         // a curve that starts before the curve before it ends
    curve_length,          // a curve whose length is not positive
    time_backwards,        // a station time earlier than the previous timed station's
    time_out_of_range,     // hours, minutes or seconds that name no time of day
    repeated_setting,      // a setting line given again: the last one counts
    position_rounded,      // a position taken to a cell boundary
    progressives_dropped,  // kilometric progressives that the ordering stores as 0
    value_ignored,         // a value the compiler replaces or does not store
    in_run_off,            // a position beyond the route length
    not_windows_1252,      // text written as UTF-8
    utf16_file,            // a source written as UTF-16
    byte_order_mark,       // a source that starts with a byte-order mark
    name_not_ascii,        // a scenario name or train number beyond ASCII
    run_general_missing,   // a run description without "[generale]"
    no_station,            // a run description that stores no station
    running_time,          // a scheduled time shorter than the run at the permitted speed
};
inline constexpr std::size_t warning_code_count = 32;

// One warning as a fact: where, and the numbers involved. The words are the
// tool's.
struct logged_warning {
    warning_code code = warning_code::unknown_keyword;
    source_place place;        // the line; not known for the scenario name
    int32_t first_column = 0;  // 1-based byte columns of the field(s) concerned
    int32_t last_column = 0;
    int32_t field = -1;                // index in `compile_log::fields` of the first field concerned
    int32_t count = 0;                 // fields concerned, from `field` on
    const keyword_row* row = nullptr;  // the keyword the line was read as
    int32_t value_index = -1;          // which of its values (0-based)
    int64_t value = 0;                 // the value written, read or expected
    int64_t stored = 0;                // what was kept of it, or a second value
    int64_t other_value = 0;           // a value of the related line
    source_place other;                // a related line (the one before, the one that holds a value)
    // A keyword field that matched no keyword of its part: the nearest
    // spelling there, when one is close (empty: none).
    std::string_view nearest_keyword{};
};

// Warnings kept per code; the rest are only counted.
inline constexpr uint32_t warnings_kept_per_code = 20;

enum class field_role : uint8_t { keyword, value };
enum class field_width : uint8_t { text, bits32, bits16, bits8 };
// How the field was taken.
enum class field_reading : uint8_t {
    number,         // a number that fits its width
    empty_as_zero,  // an empty number field, read as 0
    not_a_number,   // a number field that is not a number, read as 0
    beyond_width,   // a number outside its width: a read failure
    text,           // a keyword, a board text or a station name
};

// The part of its source a field stands in, as the reader that read it was:
// before the "[generale]" that opens the readable part (the heading itself
// included), the line description's general section (up to and including the
// heading that ends it) or body, or the run description after its heading.
enum class source_section : uint8_t { before_header, line_general, line_body, run };

// One field exactly as a reader read it.
struct field_record {
    sorgente_testo source = sorgente_testo::linea;
    int32_t line = 0;          // 1-based line where the field starts
    int32_t first_column = 0;  // 1-based byte columns of `raw` in that line
    int32_t last_column = 0;   // first_column - 1 when `raw` is empty; a quoted
                               // field over several lines counts on from its first
    std::size_t offset = 0;    // byte offset of `raw` in the source
    std::string raw;           // as written (quotes included, outer blanks not)
    std::string text;          // the value of a text field
    int32_t value = 0;         // the value of a number field
    field_reading reading = field_reading::text;
    field_width width = field_width::text;
    field_role role = field_role::value;
    source_section section = source_section::before_header;
    // The section the reader went on to after this field, when this field
    // opened one: the heading "[generale]", the heading that ends the general
    // section.
    std::optional<source_section> opens{};
};

// A run of cells the speed-limit profile filled with one line's value: the
// first cell of the run and that line (its place is not known for the cells
// filled before any line).
struct profile_run {
    int32_t first_cell = 0;
    source_place line{};
};

// A keyword field a reader acted on, and the row it was read as; a field that
// passes two rows' tests gives two entries.
struct keyword_read {
    int32_t field = -1;  // index in `compile_log::fields`
    const keyword_row* row = nullptr;
};

struct compile_log {
    std::vector<logged_error> errors;
    std::vector<logged_warning> warnings;                       // at most warnings_kept_per_code of each code
    std::array<uint32_t, warning_code_count> warnings_found{};  // every one, kept or not
    // The line that placed what stands in each cell (sized with `celle`).
    std::vector<source_place> cell_origins;
    // The line each record of `voci` was read from (stations, tunnel-name
    // boards, progressives).
    std::array<source_place, numero_voci> record_origins{};
    // The speed-limit lines behind the cells' `velocita`, in cell order.
    std::vector<profile_run> speed_runs;
    // Every field read, in reading order, both sources.
    std::vector<field_record> fields;
    // Every keyword field a reader acted on, in reading order.
    std::vector<keyword_read> keywords_read;
    // Why reading failed, when it did.
    std::optional<std::string> read_failure;
    // Reading stopped at a route whose plan exceeds compile_options::plan_point_limit.
    bool plan_limit_reached = false;
    // The line description's general section ran to the end of the file:
    // no heading ended it, so no line was read as the body's.
    bool general_section_unended = false;
};

// The keyword record at `keyword_field` and the value records that follow it:
// the fields one keyword's handler read (just the keyword when it matched no
// row). Empty when there is no such keyword record.
inline std::span<const field_record> fields_of_line(const compile_log& log, int32_t keyword_field) {
    if (keyword_field < 0 || static_cast<std::size_t>(keyword_field) >= log.fields.size() ||
        log.fields[static_cast<std::size_t>(keyword_field)].role != field_role::keyword)
        return {};
    std::size_t end = static_cast<std::size_t>(keyword_field) + 1;
    while (end < log.fields.size() && log.fields[end].role == field_role::value)
        ++end;
    return std::span<const field_record>(log.fields)
        .subspan(static_cast<std::size_t>(keyword_field), end - static_cast<std::size_t>(keyword_field));
}

// Where a compile step notes what it does: the log (none: nothing is noted)
// and the source line being read, which every noted fact is tied to.
struct log_at {
    compile_log* log = nullptr;
    source_place place{};
};

// Notes that the keyword field of the line being read is read as `row`.
inline void note_keyword_read(const log_at& at, const keyword_row& row) {
    if (at.log != nullptr && at.place.keyword_field >= 0)
        at.log->keywords_read.push_back({at.place.keyword_field, &row});
}

}  // namespace scenario
