#include "compiler/error_codes.h"

#include <array>

namespace scenario {

namespace {
using e = error_code;
using sev = error_severity;

constexpr std::array<error_info, 28> table{{
    {e::route_too_long, sev::reader_stop, "route length above 1000000 m"},
    {e::progressive_not_on_50, sev::reader_stop, "kilometric progressive start or end not a multiple of 50"},
    {e::first_repetition_not_on_50, sev::reader_stop,
     "first signal repetition distance not a multiple of 50"},
    {e::second_repetition_not_on_50, sev::reader_stop,
     "second signal repetition distance not a multiple of 50"},
    {e::repetition_codes_unnamed, sev::reader_stop, "signal repetition keyword names neither 4 nor 9 codes"},
    {e::tunnel_board_cell_taken, sev::reader_stop, "tunnel-name board: its cell is already taken"},
    {e::abbattimento_cell_taken, sev::reader_stop, "abbattimento point: its cell is already taken"},
    {e::station_position_not_on_50, sev::reader_stop, "station position not a multiple of 50"},
    {e::station_area_not_on_100, sev::reader_stop, "station area length not a multiple of 100"},
    {e::too_many_stations, sev::reader_stop,
     "too many stations: the station records reach the board records"},
    {e::signal_mark_no_free_cell, sev::sweep,
     "no free cell in front of a signal behind a slowdown advance point"},
    {e::approach_mark_no_free_cell, sev::sweep, "no free cell for an approach mark before a slowdown start"},
    {e::repeat_mark_no_free_cell, sev::sweep,
     "no free cell for a repeat mark or for the mark in front of the signal after a slowdown"},
    {e::beyond_route_end, sev::reader_stop, "position too close to or beyond the end of the route"},
    {e::signal_cell_taken, sev::reader_stop, "signal: its cell is already taken"},
    {e::slowdown_advance_cell_taken, sev::reader_stop,
     "slowdown: its advance cell, 1200 m before the start, is already taken"},
    {e::slowdown_start_cell_taken, sev::reader_stop, "slowdown: its start cell is already taken"},
    {e::slowdown_end_cell_taken, sev::reader_stop, "slowdown: its end cell is already taken"},
    {e::slowdown_approach_cell_taken, sev::reader_stop,
     "slowdown: one of its four approach cells is already taken"},
    {e::speed_board_cell_taken, sev::reader_stop, "maximum-speed board: its cell is already taken"},
    {e::stations_too_close, sev::reader_stop,
     "station area starts less than 350 m after the previous station's area"},
    {e::stop_cell_too_early, sev::reader_stop, "station stop cell lies before cell 2"},
    {e::read_failure, sev::reader_stop,
     "the text sources could not be read (missing, unreadable, a number out of range, or a line outside the "
     "route)"},
    {e::line_description_missing, sev::reader_stop, "the line description file does not exist"},
    {e::general_section_missing, sev::reader_stop, "the line description ends before its [generale] section"},
    {e::curve_invalid, sev::reader_stop,
     "curve without a class digit 1 to 6, or curve points beyond 1000000 m"},
    {e::identity_stamp_in_use, sev::fatal, "identity slot already in use"},
    {e::competition_code_stamp_in_use, sev::fatal, "competition code slot already in use"},
}};

const error_info* find(error_code c) {
    for (const error_info& i : table)
        if (i.code == c)
            return &i;
    return nullptr;
}
}  // namespace

std::span<const error_info> error_table() {
    return table;
}

std::optional<error_code> error_from_number(int32_t number) {
    for (const error_info& i : table)
        if (error_number(i.code) == number)
            return i.code;
    return std::nullopt;
}

error_severity error_severity_of(error_code c) {
    const error_info* i = find(c);
    return i ? i->severity : error_severity::reader_stop;
}

const char* error_description(error_code c) {
    const error_info* i = find(c);
    return i ? i->description : "no error";
}

}  // namespace scenario
