#include "compiler/keywords.h"

#include <array>

namespace scenario {

namespace {
using sv = std::string_view;
constexpr field_width w32 = field_width::bits32;
constexpr field_width w16 = field_width::bits16;
constexpr field_width w8 = field_width::bits8;
constexpr field_width wtext = field_width::text;

constexpr sv whole32 = "32-bit signed, as read";
constexpr sv position_kept =
    "a position on the route: up to the route length plus 7000 m, less 100 m (error 15 beyond)";
constexpr sv cell_byte = "one byte: the low 8 bits";
constexpr sv cell_word = "16-bit signed: the low 16 bits";

// ---- values of each line ----
constexpr value_field route_length_values[] = {
    {"L", "route length", "m", w32, "0 to 1000000 (error 1 above); the cells and the plan add 7000 m"},
};
constexpr value_field progressive_values[] = {
    {"valore1", "start of the kilometric progressive", "m", w32, "32-bit signed, a multiple of 50 (error 2)"},
    {"valore2", "end of the kilometric progressive", "m", w32,
     "32-bit signed, a multiple of 50 (error 2); 100 more when valore3 is 1"},
    {"valore3", "progressive flag (1: the end lies 100 m further)", "", w32, whole32},
};
constexpr value_field scenery_values[] = {
    {"sfondo", "scenery value", "", w32, whole32},
};
constexpr value_field repetition_values[] = {
    {"A", "first signal repetition distance", "m", w32, "32-bit signed, a multiple of 50 (error 3)"},
    {"B", "second signal repetition distance", "m", w32,
     "32-bit signed, a multiple of 50 (error 4); 0 turns the repetition off"},
};
constexpr value_field gradient_values[] = {
    {"P", "position where the gradient begins", "m", w32, position_kept},
    {"G", "gradient", "per mille", w32, "-100 to 155: one byte, stored plus 100 (wraps outside)"},
};
constexpr value_field curve_values[] = {
    {"S", "start of the curve", "m", w32, position_kept},
    {"N", "length of the curve", "m", w32, "the curve must end on the track plan (route length plus 7000 m)"},
};
constexpr value_field tunnel_values[] = {
    {"inizio", "start of the tunnel", "m", w32, position_kept},
    {"fine", "end of the tunnel", "m", w32, "up to the end of the last cell"},
    {"tipo", "tunnel class; above 10 a long tunnel of class tipo - 10", "", w32, cell_byte},
};
constexpr value_field speed_board_values[] = {
    {"posizione", "position of the board", "m", w32, position_kept},
    {"vas", "left board speed a", "km/h", w32, "dato1 = vad / 5 + 20 vas, 16-bit signed (error 25 outside)"},
    {"vbs", "left board speed b", "km/h", w32, "dato2 = vbd / 5 + 20 vbs, 16-bit signed (error 25 outside)"},
    {"vcs", "left board speed c", "km/h", w32, "dato3 = vcd / 5 + 20 vcs, 16-bit signed (error 25 outside)"},
    {"strisces", "left board stripes", "", w32, "dato4 = 10 strisces + strisced, 16-bit, wrapping"},
    {"vad", "right board speed a", "km/h", w32, "in dato1, divided by 5"},
    {"vbd", "right board speed b", "km/h", w32, "in dato2, divided by 5"},
    {"vcd", "right board speed c", "km/h", w32, "in dato3, divided by 5"},
    {"strisced", "right board stripes", "", w32, "in dato4"},
};
constexpr value_field tunnel_board_values[] = {
    {"P", "position of the board", "m", w32, position_kept},
    {"testo", "board caption (tunnel name and length)", "", wtext, "up to 32767 bytes"},
};
constexpr value_field braked_mass_values[] = {
    {"massa_frenata", "braked-mass percentage", "%", w32, whole32},
};
constexpr value_field coaches_values[] = {
    {"vetture", "number of coaches", "", w32, whole32},
};
constexpr value_field speed_limit_values[] = {
    {"posizione", "position where the limit begins", "m", w32, position_kept},
    {"velocita", "speed limit", "km/h", w32, "0 to 1275: one byte, divided by 5 (error 25 outside)"},
};
constexpr value_field adhesion_values[] = {
    {"posizione", "position where the adhesion begins", "m", w32, position_kept},
    {"aderenza", "adhesion", "", w32, cell_byte},
};
constexpr value_field clock_values[] = {
    {"ore", "clock at the start of the run: hours", "h", w16, "16-bit signed"},
    {"minuti", "clock at the start of the run: minutes", "min", w16, "16-bit signed"},
    {"secondi", "clock at the start of the run: seconds", "s", w16, "16-bit signed"},
};
constexpr value_field sand_values[] = {
    {"sabbia", "sand supply", "", w16, "16-bit signed"},
};
constexpr value_field signal_values[] = {
    {"posizione", "position of the signal (it stands in the next cell)", "m", w32, position_kept},
    {"sx", "left aspect kind", "", w32, "dato4 = 10 rapp + 3 sx + dx, 16-bit; dato5 only when 2"},
    {"s1", "left aspect value 1", "", w32, "dato1 = 10 s1 + d1, 16-bit"},
    {"s2", "left aspect value 2", "", w32, "dato2 = 10 s2 + d2, 16-bit"},
    {"s3", "left aspect value 3", "", w32, "dato3 = 10 s3 + d3, 16-bit"},
    {"rapp", "aspect ratio value", "", w32, "in dato4"},
    {"dx", "right aspect kind", "", w32, "in dato4"},
    {"d1", "right aspect value 1", "", w32, "in dato1"},
    {"d2", "right aspect value 2", "", w32, "in dato2"},
    {"d3", "right aspect value 3", "", w32, "in dato3"},
    {"tempo", "signal time (1 to 100 becomes 101)", "s", w32, "dato5, one byte, when sx is 2"},
};
constexpr value_field slowdown_values[] = {
    {"x", "start of the slowdown", "m", w32, position_kept},
    {"v", "slowdown speed", "km/h", w32, cell_word},
    {"l", "length of the slowdown", "m", w32, "its end must lie on the route (error 15)"},
    {"f_tt", "slowdown flag carried to the start and end cells", "", w32, cell_word},
    {"f_ta", "approach cells before the advance point (0: none)", "", w32, "not stored"},
    {"d_v", "value carried in dato2 (0: none)", "", w32, cell_word},
};
constexpr value_field abbattimento_values[] = {
    {"posizione", "position of the point (it stands in its own cell)", "m", w32, position_kept},
    {"valore", "value (0 or less: a point without a value)", "", w32, cell_word},
};
constexpr value_field station_values[] = {
    {"posizione", "position of the station", "m", w32,
     "32-bit signed, a multiple of 50 (error 8); up to the route end less 800 m"},
    {"tipo", "station kind", "", w8, "0 to 255"},
    {"area", "length of the station area", "m", w32, "a multiple of 100 (error 9); not stored"},
    {"byte1", "attribute", "", w8, "0 to 255"},
    {"byte5", "attribute", "", w8, "0 to 255; 0 for areas under 600 m and for the first station"},
    {"byte4", "attribute (nonzero: the area ends 50 m later)", "", w8, "0 to 255; 0 for the first station"},
    {"intero1", "attribute", "", w16, "16-bit signed"},
    {"intero2", "attribute", "", w16, "16-bit signed"},
    {"byte2", "attribute", "", w8, "0 to 255"},
    {"intero3", "attribute", "", w16, "16-bit signed"},
    {"intero4", "attribute", "", w16, "16-bit signed"},
    {"intero5", "attribute", "", w16, "16-bit signed"},
    {"byte3", "dwell", "s", w8, "0 to 255"},
    {"ore", "departure time: hours", "h", w32, "valore4 = 3600 h + 60 min + s, 32-bit"},
    {"minuti", "departure time: minutes", "min", w32, "in valore4"},
    {"secondi", "departure time: seconds", "s", w32, "in valore4"},
    {"nome", "station name", "", wtext, "up to 32767 bytes"},
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
     route_length_values},
    {k::progressive_three, li::progressive, gen, "progressiva", "tre", false, always,
     progressive_three_spelling, progressive_values},
    {k::progressive_two, li::progressive, gen, "progressiva", "due", false, always, progressive_two_spelling,
     progressive_values},
    {k::progressive_one, li::progressive, gen, "progressiva", "uno", false, always, progressive_one_spelling,
     progressive_values},
    {k::scenery_one, li::scenery, gen, "sfondo", "uno", false, always, scenery_one_spelling, scenery_values},
    {k::scenery_two, li::scenery, gen, "sfondo", "due", false, always, scenery_two_spelling, scenery_values},
    {k::scenery_three, li::scenery, gen, "sfondo", "tre", false, always, scenery_three_spelling,
     scenery_values},
    {k::signal_repetition, li::signal_repetition, gen, "segnali", "ripetizione", false, always,
     repetition_spelling, repetition_values},
};

constexpr keyword_row body_rows[] = {
    {k::gradient, li::gradient, body, "pendenza", "", true, always, gradient_spelling, gradient_values},
    {k::curve, li::curve, body, "curva", "", true, keyword_condition::track_plan_built, curve_spelling,
     curve_values},
    {k::tunnel, li::tunnel, body, "montagna", "", true, always, tunnel_spelling, tunnel_values},
    {k::speed_board, li::speed_board, body, "indicatori_v", "", true, always, speed_board_spelling,
     speed_board_values},
    {k::tunnel_board, li::tunnel_board, body, "indicat", "cartello", true, always, tunnel_board_spelling,
     tunnel_board_values},
};

constexpr keyword_row run_rows[] = {
    {k::braked_mass, li::braked_mass, run, "frenata", "massa", true, always, braked_mass_spelling,
     braked_mass_values},
    {k::coaches, li::coaches, run, "vetture", "", true, always, coaches_spelling, coaches_values},
    {k::speed_limit, li::speed_limit, run, "velocit", "", true, always, speed_limit_spelling,
     speed_limit_values},
    {k::adhesion, li::adhesion, run, "aderenza", "", true, always, adhesion_spelling, adhesion_values},
    {k::clock, li::clock, run, "orologio", "", true, always, clock_spelling, clock_values},
    {k::sand, li::sand, run, "sabbia", "", true, always, sand_spelling, sand_values},
    {k::signal, li::signal, run, "segnale", "", true, always, signal_spelling, signal_values},
    {k::slowdown, li::slowdown, run, "rallentamento", "", true, always, slowdown_spelling, slowdown_values},
    {k::abbattimento, li::abbattimento, run, "abbattimento", "", true, always, {}, abbattimento_values},
    {k::station, li::station, run, "stazione", "", true, always, station_spelling, station_values},
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

bool ends_general_section(std::string_view field) {
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
        field.remove_prefix(1);
    return contains(field, "[") && contains(field, "]") && !field.starts_with('-');
}

}  // namespace scenario
