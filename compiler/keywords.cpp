#include "compiler/keywords.h"

#include "compiler/keyword_fields.h"

#include <array>

namespace scenario {

namespace {
using sv = std::string_view;
namespace f = keyword_fields;

// What the keyword fields themselves decide.
constexpr code_value repetition_codes[] = {
    {"\"4\" in the keyword", "4 codes: voci(86).valore3 = 4"},
    {"else \"9\"", "9 codes: voci(86).valore3 = 9"},
    {"neither", "error 5"},
};
constexpr code_value curve_codes[] = {
    {"1", "the heading turns about 0.0001 radians per metre"},
    {"2", "0.0002 radians per metre"},
    {"3", "0.0004 radians per metre"},
    {"4", "0.001 radians per metre"},
    {"5", "0.002 radians per metre"},
    {"6", "0.003 radians per metre"},
    {"none of 1 to 6", "error 103"},
    {"\"s\" (either case)",
     "turns towards -x; without it towards +x (the plan starts at the origin heading "
     "along +y)"},
};

// ---- the writers' spellings ----
constexpr sv route_length_spelling[] = {"lunghezza percorso"};
constexpr sv progressive_three_spelling[] = {"progressiva chilometrica tre"};
constexpr sv progressive_two_spelling[] = {"progressiva chilometrica due"};
constexpr sv progressive_one_spelling[] = {"progressiva chilometrica uno"};
constexpr sv scenery_one_spelling[] = {"sfondo uno"};
constexpr sv scenery_two_spelling[] = {"sfondo due"};
constexpr sv scenery_three_spelling[] = {"sfondo tre"};
constexpr sv repetition_spelling[] = {"ripetizione segnali 4 codici"};
constexpr sv gradient_spelling[] = {"pendenza"};
constexpr sv curve_spelling[] = {"curvad4", "curvad5", "curvad6", "curvas4", "curvas5", "curvas6"};
constexpr sv tunnel_spelling[] = {"montagna"};
constexpr sv speed_board_spelling[] = {"indicatori_vmax"};
constexpr sv tunnel_board_spelling[] = {"cartello_indicatore"};
constexpr sv braked_mass_spelling[] = {"percentuale massa frenata"};
constexpr sv coaches_spelling[] = {"numero vetture"};
constexpr sv speed_limit_spelling[] = {"velocita"};
constexpr sv adhesion_spelling[] = {"aderenza"};
constexpr sv clock_spelling[] = {"orologio"};
constexpr sv sand_spelling[] = {"sabbia"};
constexpr sv signal_spelling[] = {"segnale"};
constexpr sv slowdown_spelling[] = {"rallentamento"};
constexpr sv station_spelling[] = {"stazione"};

using k = keyword;
using li = line_item;
constexpr keyword_section gen = keyword_section::general;
constexpr keyword_section body = keyword_section::body;
constexpr keyword_section run = keyword_section::run;
constexpr keyword_condition always = keyword_condition::none;

// Case: the route length test ignores it, the other general tests compare exactly.
constexpr keyword_row general_rows[] = {
    {k::route_length, li::route_length, gen, "lunghezza", "percorso", true, always, route_length_spelling,
     f::route_length},
    {k::progressive_three, li::progressive, gen, "progressiva", "tre", false, always,
     progressive_three_spelling, f::progressive},
    {k::progressive_two, li::progressive, gen, "progressiva", "due", false, always, progressive_two_spelling,
     f::progressive},
    {k::progressive_one, li::progressive, gen, "progressiva", "uno", false, always, progressive_one_spelling,
     f::progressive},
    {k::scenery_one, li::scenery, gen, "sfondo", "uno", false, always, scenery_one_spelling, f::scenery,
     "kept in voci(85).valore1"},
    {k::scenery_two, li::scenery, gen, "sfondo", "due", false, always, scenery_two_spelling, f::scenery,
     "kept in voci(85).valore3"},
    {k::scenery_three, li::scenery, gen, "sfondo", "tre", false, always, scenery_three_spelling, f::scenery,
     "kept in voci(85).valore2"},
    {k::signal_repetition, li::signal_repetition, gen, "segnali", "ripetizione", false, always,
     repetition_spelling, f::repetition,
     "the keyword must also hold \"4\" or \"9\": the number of codes; a second value of 0 stores 0 codes",
     repetition_codes},
};

constexpr keyword_row body_rows[] = {
    {k::gradient, li::gradient, body, "pendenza", "", true, always, gradient_spelling, f::gradient},
    {k::curve, li::curve, body, "curva", "", true, keyword_condition::track_plan_built, curve_spelling,
     f::curve,
     "the first digit 1 to 6 in the keyword (tested in that order) gives the curvature, an \"s\" the "
     "direction; without the track plan the line is not recognised and its values are read as keyword fields",
     curve_codes},
    {k::tunnel, li::tunnel, body, "montagna", "", true, always, tunnel_spelling, f::tunnel},
    {k::speed_board, li::speed_board, body, "indicatori_v", "", true, always, speed_board_spelling,
     f::speed_board, "the board stands in the cell after its position (error 21 when that cell is taken)"},
    {k::tunnel_board, li::tunnel_board, body, "indicat", "cartello", true, always, tunnel_board_spelling,
     f::tunnel_board,
     "the board stands in the cell after its position (error 6 when that cell is taken); a field that also "
     "holds \"indicatori_v\" runs the speed board first"},
};

constexpr keyword_row run_rows[] = {
    {k::braked_mass, li::braked_mass, run, "frenata", "massa", true, always, braked_mass_spelling,
     f::braked_mass},
    {k::coaches, li::coaches, run, "vetture", "", true, always, coaches_spelling, f::coaches},
    {k::speed_limit, li::speed_limit, run, "velocit", "", true, always, speed_limit_spelling, f::speed_limit},
    {k::adhesion, li::adhesion, run, "aderenza", "", true, always, adhesion_spelling, f::adhesion},
    {k::clock, li::clock, run, "orologio", "", true, always, clock_spelling, f::clock},
    {k::sand, li::sand, run, "sabbia", "", true, always, sand_spelling, f::sand},
    {k::signal, li::signal, run, "segnale", "", true, always, signal_spelling, f::signal},
    {k::slowdown, li::slowdown, run, "rallentamento", "", true, always, slowdown_spelling, f::slowdown},
    {k::abbattimento, li::abbattimento, run, "abbattimento", "", true, always, {}, f::abbattimento},
    {k::station, li::station, run, "stazione", "", true, always, station_spelling, f::station,
     "the stop cell is the cell 50 m before the area end: cell kind 10 with dato1 = the station's record "
     "number, whatever stood there (error 24 when it is cell 1 or before); the markers are dato6 = 81 to 84 "
     "in "
     "the cells 100, 150, 200 and 250 m before the area end (cells after 1 only)"},
};

bool contains(sv text, sv part) {
    return part.empty() || text.find(part) != sv::npos;
}
}  // namespace

bool keyword_row::matches(std::string_view field, std::string_view lowered, bool track_plan_built) const {
    const sv t = ignore_case ? lowered : field;
    if (!contains(t, part1) || !contains(t, part2))
        return false;
    return condition != keyword_condition::track_plan_built || track_plan_built;
}

std::span<const keyword_row> line_general_keywords() {
    return general_rows;
}
std::span<const keyword_row> line_body_keywords() {
    return body_rows;
}
std::span<const keyword_row> run_keywords() {
    return run_rows;
}

const keyword_row& keyword_info(keyword id) {
    for (auto rows : {line_general_keywords(), line_body_keywords(), run_keywords()})
        for (const keyword_row& r : rows)
            if (r.id == id)
                return r;
    return general_rows[0];  // every keyword has a row
}

bool is_heading(std::string_view field) {
    return contains(field, "[") && contains(field, "]");
}

bool ends_general_section(std::string_view field) {
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
        field.remove_prefix(1);
    return is_heading(field) && !field.starts_with('-');
}

}  // namespace scenario
