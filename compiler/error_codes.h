// Every error number the compiler records or reports, by meaning, with its
// severity and a short description. The numbers are the ones the error record
// (`codice_errore`) holds and the fatal message shows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace scenario {

enum class error_code : int32_t {
    none = 0,
    route_too_long = 1,
    progressive_not_on_50 = 2,
    first_repetition_not_on_50 = 3,
    second_repetition_not_on_50 = 4,
    repetition_codes_unnamed = 5,
    tunnel_board_cell_taken = 6,
    abbattimento_cell_taken = 7,
    station_position_not_on_50 = 8,
    station_area_not_on_100 = 9,
    too_many_stations = 10,
    signal_mark_no_free_cell = 11,
    approach_mark_no_free_cell = 12,
    repeat_mark_no_free_cell = 13,
    beyond_route_end = 15,
    signal_cell_taken = 16,
    slowdown_advance_cell_taken = 17,
    slowdown_start_cell_taken = 18,
    slowdown_end_cell_taken = 19,
    slowdown_approach_cell_taken = 20,
    speed_board_cell_taken = 21,
    stations_too_close = 22,
    stop_cell_too_early = 24,
    read_failure = 25,
    line_description_missing = 101,
    general_section_missing = 102,
    curve_invalid = 103,
    identity_stamp_in_use = 1250,
    competition_code_stamp_in_use = 1251,
};

enum class error_severity : uint8_t {
    reader_stop,  // stopped the reader; the compile went on with what was read
    sweep,        // found by the finishing sweep, which went on
    fatal,        // a stamp slot in use: the program ends, nothing is written
};

struct error_info {
    error_code code;
    error_severity severity;
    const char* description;  // a few English words ("signal: its cell is already taken")
};

// One row per error, in number order (none excluded).
std::span<const error_info> error_table();

// The number as the error record and the fatal message carry it.
constexpr int32_t error_number(error_code c) {
    return static_cast<int32_t>(c);
}
// The error with this number; nothing for a number no error has (0 included).
std::optional<error_code> error_from_number(int32_t number);

error_severity error_severity_of(error_code c);
const char* error_description(error_code c);

}  // namespace scenario
