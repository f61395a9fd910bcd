// The composer of diagnoses, shared by the files that word each family of
// errors (diagnosis_*.cpp): the error being explained, the quoting of the
// lines behind it, and one function per message. Internal to words/.
#pragma once

#include "tools/words/diagnostics.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace scenario::tool::composing {

// "3650 m".
std::string metres(int64_t p);
// Cells c..last as the stretch of route they cover.
std::string stretch(int64_t c, int64_t last);
std::string stretch(int64_t c);
// What stands in a cell, as a sentence names it ("a signal").
const char* what_stands(uint8_t tipo);
// The elements whose first number is a position along the route.
bool has_position_value(line_item e);
// "the line description", "the run description".
const char* source_name(sorgente_testo s);

class composer {
public:
    composer(const stato_scenario& s, const compile_log& log) : s_(s), log_(log) {}

    diagnosis compose(const logged_error& e, std::size_t index);

private:
    // ---- quoting the line behind an error or an item ----

    // Field `i` of the line at `l` as the compiler read it: 0 is the keyword,
    // 1 on its values in reading order. None when the fields were not
    // recorded or the line has no such value.
    const field_record* field_read(const source_place& l, std::size_t i) const;
    std::string field_text(const source_place& l, std::size_t i) const;
    // A number field that held a number.
    std::optional<int32_t> number_field(const source_place& l, std::size_t i) const;

    // "signal at 3650 m", "station CORBEZZI at 17550 m": the element a line
    // describes, at `position` or else at the position written on it.
    std::string describe(const source_place& l, std::optional<int64_t> position = std::nullopt) const;

    // The element of the line behind the error being composed; `fallback`
    // when the compile did not say what the line describes. A reader error
    // with a position was recorded at the line's own position.
    std::string who(const char* fallback) const;

    // A second place of the error being composed: the line at `l`, pointed at
    // its keyword field when the fields were recorded.
    void add_related(const source_place& l, std::string message);

    // "already taken by a signal (the signal at 3600 m on line 40)": what
    // stands in cell c, and the line that put it there.
    std::string taken_by(int64_t c);

    // "<who>: its cell (3700 to 3750 m) is already taken by ...": the cell the
    // error concerns, as the compile recorded it, and what stands there.
    std::string taken_cell(const char* fallback, const char* which);

    // ---- the messages, one family a file ----

    // The message of the error being composed: each family of errors has
    // its own words, in the order of the error numbers.
    std::string message_text();

    // The line description's general part: route length, progressives,
    // signal repetition.
    std::optional<std::string> general_part_message() const;

    // An item whose cell another item already holds.
    std::optional<std::string> taken_cell_message();

    std::optional<std::string> station_message();

    // The finishing sweep's marks that found no free cell.
    std::optional<std::string> sweep_message() const;

    // The rest: positions beyond the route, reading failures, missing
    // sections, curves, stamps, and the table's words for anything else.
    std::string other_message();

    // A read failure: the line being read, the field where reading failed,
    // why, and the line that holds a value found wrong only later.
    std::string read_failure_message();

    // No "[generale]" field before the end: say whether there is none at all
    // or it is the last field (never taken as the start), and whether the
    // file looks like UTF-16.
    std::string no_general_section();

    std::string progressive_message() const;

    // The compiler's own reading of the keyword tells the two causes apart.
    std::string curve_message() const;

    std::string too_many_stations() const;

    // The station's record is the one read from the error's line.
    std::string stations_too_close();

    std::string beyond_route_message() const;

    // An error the line description left makes the run description stop at
    // its first signal or slowdown, whose position the error record takes.
    std::string inherited_stop_message();

    std::string stamp_message() const;

    const stato_scenario& s_;
    const compile_log& log_;

    // The error being explained, its place in the log, and its diagnosis.
    const logged_error* e_ = nullptr;
    std::size_t index_ = 0;
    diagnosis d_;
};

}  // namespace scenario::tool::composing
