// The value fields of every keyword's line, in reading order: meaning, unit,
// width, the values accepted, what the compiled files keep and what the
// compiler does with particular values. Only keywords.cpp includes it.
#pragma once

#include "compiler/keywords.h"

#include <string_view>

namespace scenario::keyword_fields {

using sv = std::string_view;
inline constexpr field_width w32 = field_width::bits32;
inline constexpr field_width w16 = field_width::bits16;
inline constexpr field_width w8 = field_width::bits8;
inline constexpr field_width wtext = field_width::text;

// Units of values that have none.
inline constexpr sv code_unit = "none (a code)";
inline constexpr sv no_unit = "none (the compiler gives it no unit)";
inline constexpr sv text_unit = "none (text)";

// Ranges shared by several fields.
inline constexpr sv any32 = "-2147483648 to 2147483647; a number beyond is a read failure (error 25)";
inline constexpr sv any16 = "-32768 to 32767; a number beyond is a read failure (error 25)";
inline constexpr sv any8 = "0 to 255; a negative number or one above 255 is a read failure (error 25)";
inline constexpr sv low16 =
    "-2147483648 to 2147483647 is read; the cell keeps the low 16 bits (wraps outside "
    "-32768 to 32767)";
inline constexpr sv body_position =
    "0 to the route length + 6900 m (error 15 beyond: the position must leave 100 m of route after it); a "
    "negative position is a read failure (error 25)";
inline constexpr sv text_range =
    "the text up to the next comma or line end (a text in double quotes may hold commas), at most 32767 "
    "bytes (a read failure, error 25, beyond)";

// ---- line description, general section ----
inline constexpr value_field route_length[] = {
    {"L", "route length", "m", w32,
     "0 to 1000000 (error 1 above; a negative length is a read failure, error 25); with several lines the "
     "last one counts",
     "voci(84).valore2 in the run file; the cells and the track plan run to L + 7000 m, one cell per 50 m"},
};

inline constexpr code_value progressive_flag_codes[] = {
    {"1", "valore2 is stored 100 m larger"},
    {"any other", "nothing beyond storing it"},
};
inline constexpr value_field progressive[] = {
    {"valore1",
     "first value of the kilometric progressive",
     "m",
     w32,
     "a multiple of 50, negative ones too (error 2 otherwise, found after the run description is read)",
     "valore1 of voci(81), (82) or (83) in the run file: the three progressives are stored by their valore1, "
     "the strictly largest first (all nine values 0 when the largest is shared); when the three valore1 add "
     "up to 0, the last of tre, due, uno with a positive valore2 comes first (all nine 0 when none has one)",
     {},
     true},
    {"valore2",
     "second value of the kilometric progressive",
     "m",
     w32,
     "a multiple of 50, negative ones too (error 2 otherwise)",
     "valore2 of the same slot, 100 more when valore3 is 1",
     {},
     true},
    {"valore3", "flag of the kilometric progressive", code_unit, w32, any32, "valore3 of the same slot",
     progressive_flag_codes, true},
};

inline constexpr value_field scenery[] = {
    {"sfondo",
     "scenery value",
     no_unit,
     w32,
     any32,
     "one of valore1 to valore3 of voci(85), by the keyword",
     {},
     true},
};

inline constexpr code_value repetition_second_codes[] = {
    {"0", "voci(86).valore3 = 0 (no codes), whatever the keyword says"},
    {"any other multiple of 50", "voci(86).valore3 = 4 or 9, from the keyword"},
};
inline constexpr value_field repetition[] = {
    {"A",
     "first signal repetition distance",
     "m",
     w32,
     "a multiple of 50, negative ones too (error 3 otherwise)",
     "voci(86).valore1 in the run file",
     {},
     true},
    {"B", "second signal repetition distance", "m", w32,
     "a multiple of 50, negative ones too (error 4 otherwise)", "voci(86).valore2 in the run file",
     repetition_second_codes, true},
};

// ---- line description, body ----
inline constexpr value_field gradient[] = {
    {"P", "position where the gradient begins", "m", w32,
     "up to the route length + 6900 m (error 15 beyond); a position that rounds to cell 0 or before fills no "
     "cell and only sets the gradient that follows; positions must ascend",
     "not stored: the cells from where the previous gradient line stopped up to the cell before P / 50 get "
     "the "
     "previous gradient (at least one cell per line); the first stretch has gradient 0"},
    {"G", "gradient", "per mille", w32,
     "-100 to 155 is stored as it is; outside, the cell keeps (G + 100) modulo 256",
     "pendenza of each cell of its stretch: G + 100 in one byte; the last gradient runs on to the third-last "
     "cell, the last three cells keep 0"},
};

inline constexpr value_field curve[] = {
    {"S", "start of the curve", "m", w32,
     "up to the route length + 6900 m (error 15 beyond); a start before the end of the plan drawn so far "
     "continues the plan from there, with no straight stretch",
     "not stored: the track plan runs straight up to point S, then curves up to point S + N"},
    {"N", "length of the curve", "m", w32,
     "S + N at most the route length + 7000 m (a read failure, error 25, beyond); 0 or less draws no curved "
     "point; no more than 1000000 plan points in all (error 103)",
     "not stored: the plan points S + 1 to S + N in the line file"},
};

inline constexpr code_value tunnel_class_codes[] = {
    {"11 and above",
     "a long tunnel of class tipo - 10: every 4th cell it covers, counted from its first, "
     "becomes a lamp mark (cell kind 11) where the cell holds nothing"},
    {"10 and below", "class tipo, no lamp marks; 0 leaves the cells in the open air (class 0)"},
    {"any",
     "class 3 instead when the tunnel begins 150 m or less after the previous tunnel line's end (a long "
     "tunnel stays long)"},
};
inline constexpr value_field tunnel[] = {
    {"inizio", "start of the tunnel", "m", w32, body_position,
     "not stored: the tunnel covers the cells from inizio / 50 on"},
    {"fine", "end of the tunnel", "m", w32,
     "the cells up to fine / 50 - 1 must exist (a read failure, error 25, beyond); an end at or before the "
     "start covers no cell, the line still counts as a tunnel; at most 80 tunnel lines (a read failure "
     "beyond)",
     "not stored: the tunnel covers the cells up to fine / 50 - 1; kept for the next tunnel's 150 m test"},
    {"tipo", "tunnel class", code_unit, w32, "any 32-bit value; the cells keep the class's low 8 bits",
     "galleria of every cell the tunnel covers, in the cell file", tunnel_class_codes, true},
};

inline constexpr value_field speed_board[] = {
    {"posizione", "position of the board", "m", w32, body_position,
     "not stored: the board is the cell after the one holding posizione (cell kind 6); that cell must hold "
     "nothing or a lamp mark (error 21)"},
    {"vas",
     "board speed a, first of its pair",
     "km/h",
     w32,
     "20 vas + vad / 5 (rounded half to even) must lie in -32768 to 32767 (a read failure, error 25, "
     "outside)",
     "dato1 = 20 vas + vad / 5 in the board's cell",
     {},
     true},
    {"vbs",
     "board speed b, first of its pair",
     "km/h",
     w32,
     "20 vbs + vbd / 5 must lie in -32768 to 32767 (a read failure, error 25, outside)",
     "dato2 = 20 vbs + vbd / 5",
     {},
     true},
    {"vcs",
     "board speed c, first of its pair",
     "km/h",
     w32,
     "20 vcs + vcd / 5 must lie in -32768 to 32767 (a read failure, error 25, outside)",
     "dato3 = 20 vcs + vcd / 5",
     {},
     true},
    {"strisces",
     "board stripes, first of their pair",
     no_unit,
     w32,
     low16,
     "dato4 = 10 strisces + strisced, in 16 bits (wrapping)",
     {},
     true},
    {"vad",
     "board speed a, second of its pair",
     "km/h",
     w32,
     "see vas; a speed that is not a multiple of 5 is rounded to the nearest fifth, halves to even",
     "in dato1, divided by 5",
     {},
     true},
    {"vbd",
     "board speed b, second of its pair",
     "km/h",
     w32,
     "see vbs; rounded to a fifth like vad",
     "in dato2, divided by 5",
     {},
     true},
    {"vcd",
     "board speed c, second of its pair",
     "km/h",
     w32,
     "see vcs; rounded to a fifth like vad",
     "in dato3, divided by 5",
     {},
     true},
    {"strisced", "board stripes, second of their pair", no_unit, w32, low16, "in dato4", {}, true},
};

inline constexpr value_field tunnel_board[] = {
    {"P", "position of the board", "m", w32, body_position,
     "not stored: the board is the cell after the one holding P (cell kind 14, dato1 = its record number); "
     "that cell must hold nothing or a lamp mark (error 6)"},
    {"testo",
     "board caption",
     text_unit,
     wtext,
     text_range,
     "testo of a record of voci in the run file, from 80 downward (at most 80 boards, fewer with stations: "
     "a read failure beyond)",
     {},
     true},
};

// ---- run description ----
inline constexpr value_field braked_mass[] = {
    {"massa_frenata",
     "braked-mass percentage",
     "%",
     w32,
     any32,
     "voci(84).valore1 in the run file",
     {},
     true},
};

inline constexpr value_field coaches[] = {
    {"vetture", "number of coaches", "coaches", w32, any32, "voci(84).valore3 in the run file", {}, true},
};

inline constexpr value_field speed_limit[] = {
    {"posizione", "position where the limit begins", "m", w32,
     "up to the route length + 6900 m (error 15 beyond); a position that rounds to cell 0 or before fills no "
     "cell and only sets the limit that follows; positions must ascend",
     "not stored: the cells from where the previous speed line stopped up to the cell before posizione / 50 "
     "get the previous limit; the cells before the first line take the first line's limit"},
    {"velocita", "speed limit", "km/h", w32,
     "-2 to 1277: its fifth, rounded half to even, must lie in 0 to 255 (a read failure, error 25, outside); "
     "a speed that is not a multiple of 5 is stored as the nearest fifth (92 becomes 18, that is 90 km/h)",
     "velocita of each cell of its stretch, divided by 5; the last limit runs on to the third-last cell, the "
     "last three cells keep 0"},
};

inline constexpr value_field adhesion[] = {
    {"posizione", "position where the adhesion begins", "m", w32,
     "up to the route length + 6900 m (error 15 beyond); a position that rounds to cell 0 or before fills no "
     "cell and only sets the value that follows; positions must ascend",
     "not stored: the cells up to the cell before posizione / 50 get the previous value, as for speed "
     "limits"},
    {"aderenza",
     "adhesion value",
     no_unit,
     w32,
     "0 to 255 is stored as it is; outside, the low 8 bits",
     "aderenza of each cell of its stretch; the last value runs on to the third-last cell",
     {},
     true},
};

inline constexpr value_field clock[] = {
    {"ore",
     "clock at the start of the run: hours",
     "h",
     w16,
     any16,
     "voci(86).intero3 in the run file",
     {},
     true},
    {"minuti",
     "clock at the start of the run: minutes",
     "min",
     w16,
     any16,
     "voci(86).intero4, as read (not added to the hours)",
     {},
     true},
    {"secondi",
     "clock at the start of the run: seconds",
     "s",
     w16,
     any16,
     "voci(86).intero5, as read (not added to the hours)",
     {},
     true},
};

inline constexpr value_field sand[] = {
    {"sabbia", "sand supply", no_unit, w16, any16, "voci(86).intero1 in the run file", {}, true},
};

inline constexpr code_value signal_sx_codes[] = {
    {"2", "the signal keeps its time: dato5 = tempo"},
    {"any other", "dato5 = 0, whatever tempo says"},
};
inline constexpr code_value signal_time_codes[] = {
    {"0", "no time: dato5 = 0"},
    {"1 to 100", "stored as 101"},
    {"101 to 255", "stored as it is"},
    {"negative, above 255", "the low 8 bits"},
};
inline constexpr value_field signal[] = {
    {"posizione", "position of the signal", "m", w32, "-75 to the route length + 6900 m (error 15 outside)",
     "not stored: the signal is the cell after the one holding posizione (cell kind 1), which must hold "
     "nothing or a lamp mark (error 16); the cells 100, 200, 300 and 400 m before it get the approach "
     "markers "
     "in dato6 (none before cell 0)"},
    {"sx", "signal code sx", code_unit, w32, any32,
     "dato4 = 10 rapp + 3 sx + dx (16 bits, wrapping); the approach markers are 10 (3 sx + dx) + 1 to 4 (8 "
     "bits, wrapping)",
     signal_sx_codes, true},
    {"s1",
     "tens of the signal's dato1",
     no_unit,
     w32,
     any32,
     "dato1 = 10 s1 + d1 (16 bits, wrapping)",
     {},
     true},
    {"s2",
     "tens of the signal's dato2",
     no_unit,
     w32,
     any32,
     "dato2 = 10 s2 + d2 (16 bits, wrapping)",
     {},
     true},
    {"s3",
     "tens of the signal's dato3",
     no_unit,
     w32,
     any32,
     "dato3 = 10 s3 + d3 (16 bits, wrapping)",
     {},
     true},
    {"rapp", "tens of the signal's dato4", no_unit, w32, any32, "in dato4 = 10 rapp + 3 sx + dx", {}, true},
    {"dx",
     "signal code dx",
     code_unit,
     w32,
     any32,
     "in dato4 = 10 rapp + 3 sx + dx and in the approach markers",
     {},
     true},
    {"d1", "units of the signal's dato1", no_unit, w32, any32, "in dato1 = 10 s1 + d1", {}, true},
    {"d2", "units of the signal's dato2", no_unit, w32, any32, "in dato2 = 10 s2 + d2", {}, true},
    {"d3", "units of the signal's dato3", no_unit, w32, any32, "in dato3 = 10 s3 + d3", {}, true},
    {"tempo", "signal time", no_unit, w32, any32, "dato5 (one byte) when sx is 2, else 0", signal_time_codes,
     true},
};

inline constexpr code_value slowdown_speed_codes[] = {
    {"below 110", "marks (cell kind 12, value 180) every 400 m between the start and end cells"},
    {"110 and above", "no such marks"},
};
inline constexpr code_value slowdown_approach_codes[] = {
    {"0", "no approach cells"},
    {"any other",
     "when x is above 1500: the four cells before the advance cell become approach cells (cell "
     "kind 5) with the counters 1 to 4 in dato1, nearest first; they must hold nothing or a lamp "
     "mark (error 20)"},
};
inline constexpr code_value slowdown_dv_codes[] = {
    {"0", "dato2 of the slowdown's cells is left as it was"},
    {"any other",
     "dato2 = d_v in the start, end and advance cells; the approach cells carry their counters "
     "there"},
};
inline constexpr value_field slowdown[] = {
    {"x", "start of the slowdown", "m", w32,
     "up to the route length + 6900 m, and every cell of the slowdown on the route (error 15 otherwise)",
     "not stored: the start is the cell after the one holding x (cell kind 3); when x is above 1500 the "
     "advance "
     "cell 1200 m before it (cell kind 4); each must hold nothing or a lamp mark (errors 18 and 17); the "
     "sweep "
     "adds marks 250 to 1000 m before the start and in front of the first signal up to 600 m past the end"},
    {"v", "slowdown speed", "km/h", w32, low16,
     "dato1 of the start, end and advance cells, whole (not divided by 5), 16 bits", slowdown_speed_codes,
     true},
    {"l", "length of the slowdown", "m", w32,
     "the end cell must lie on the route (error 15); 0 or less puts the end on or before the start",
     "not stored: the end is the cell after the one holding x + l (cell kind 2), which must hold nothing or "
     "a "
     "lamp mark (error 19)"},
    {"f_tt",
     "value carried to the start and end cells",
     no_unit,
     w32,
     low16,
     "dato3 of the start and end cells, 16 bits",
     {},
     true},
    {"f_ta", "approach cells switch", code_unit, w32, any32, "not stored", slowdown_approach_codes},
    {"d_v", "value carried in dato2", no_unit, w32, low16, "dato2 of the slowdown's cells, when not 0",
     slowdown_dv_codes, true},
};

inline constexpr code_value abbattimento_codes[] = {
    {"1 and above",
     "cell kind 12 with dato1 = valore (16 bits); the sweep lowers a value above 180 to 180 "
     "when the point is one of the two cells in front of a signal up to 1000 m before a "
     "slowdown's advance cell and neither of them is free"},
    {"0 and below", "cell kind 13, no value"},
};
inline constexpr value_field abbattimento[] = {
    {"posizione",
     "position of the point",
     "m",
     w32,
     "-25 to the route length + 6900 m (error 15 outside)",
     "not stored: the point is the cell holding posizione (not the one after), which must hold nothing or a "
     "lamp mark (error 7)",
     {},
     false,
     "30000"},
    {"valore", "value of the point", no_unit, w32, any32, "dato1 of the point's cell, 16 bits",
     abbattimento_codes, true, "5"},
};

inline constexpr code_value station_kind_codes[] = {
    {"5, 6", "area from posizione - area to posizione + 150; a stop cell, no markers; byte4 set to 0"},
    {"7, 8", "area from posizione - area to posizione + area; a stop cell and markers; byte4 set to 0"},
    {"0 to 4, 9 to 24",
     "area from posizione - area / 2 to posizione + area / 2 (50 m more when byte4 is not 0); "
     "a stop cell and markers"},
    {"25 to 255", "the same area; no stop cell, no markers"},
};
inline constexpr code_value station_byte4_codes[] = {
    {"0", "the area ends at posizione + area / 2"},
    {"any other", "the area ends 50 m later (kinds other than 5 to 8)"},
};
inline constexpr value_field station[] = {
    {"posizione", "position of the station", "m", w32,
     "a multiple of 50, negative ones too (error 8), up to the route length + 6200 m (error 15 beyond: the "
     "position must leave 800 m of route after it)",
     "valore3 of the station's record (stations take records 1 upward, in file order)"},
    {"tipo", "station kind", code_unit, w8, any8, "tipo of the station's record", station_kind_codes, true},
    {"area", "length of the station area", "m", w32,
     "a multiple of 100, negative ones too (error 9); the area must begin 350 m or more after the previous "
     "station's area end (error 22)",
     "not stored: the area's start and end go to valore1 and valore2 of the record"},
    {"byte1", "value passed on as byte1", no_unit, w8, any8, "byte1 of the station's record", {}, true},
    {"byte5",
     "value passed on as byte5",
     no_unit,
     w8,
     any8,
     "byte5 of the station's record; 0 when the area is shorter than 600 m and for the first station",
     {},
     true},
    {"byte4", "area end switch, passed on as byte4", code_unit, w8, any8,
     "byte4 of the station's record; 0 for kinds 5 to 8 and for the first station (after the area is worked "
     "out)",
     station_byte4_codes, true},
    {"intero1",
     "value passed on as intero1",
     no_unit,
     w16,
     any16,
     "intero1 of the station's record",
     {},
     true},
    {"intero2",
     "value passed on as intero2",
     no_unit,
     w16,
     any16,
     "intero2 of the station's record",
     {},
     true},
    {"byte2", "value passed on as byte2", no_unit, w8, any8, "byte2 of the station's record", {}, true},
    {"intero3",
     "value passed on as intero3",
     no_unit,
     w16,
     any16,
     "intero3 of the station's record",
     {},
     true},
    {"intero4",
     "value passed on as intero4",
     no_unit,
     w16,
     any16,
     "intero4 of the station's record",
     {},
     true},
    {"intero5",
     "value passed on as intero5",
     no_unit,
     w16,
     any16,
     "intero5 of the station's record",
     {},
     true},
    {"byte3",
     "stop length, passed on as byte3",
     "s (as the program's own scenario uses it)",
     w8,
     any8,
     "byte3 of the station's record; the program's own scenario gives the stop's length there, 0 at stations "
     "passed",
     {},
     true},
    {"ore",
     "time of the station: hours",
     "h",
     w32,
     any32,
     "valore4 = 3600 ore + 60 minuti + secondi, seconds after midnight, 32 bits (wrapping); the program's "
     "own "
     "scenario gives the departure there (the arrival at the last station) and 0 at stations passed",
     {},
     true},
    {"minuti", "time of the station: minutes", "min", w32, any32, "in valore4, 60 per minute", {}, true},
    {"secondi", "time of the station: seconds", "s", w32, any32, "in valore4", {}, true},
    {"nome", "station name", text_unit, wtext, text_range, "testo of the station's record", {}, true},
};

}  // namespace scenario::keyword_fields
