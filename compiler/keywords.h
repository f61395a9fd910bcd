// The keywords of both text sources, one row each: the test a reader applies
// to a keyword field, the spellings the program's own writers use, the part
// of the source where it counts, and the value fields its line reads, in
// order. The readers test fields with these rows and nothing else.
#pragma once

#include "compiler/compile_log.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace scenario {

enum class keyword : uint8_t {
    // line description, general section
    route_length,
    progressive_three,
    progressive_two,
    progressive_one,
    scenery_one,
    scenery_two,
    scenery_three,
    signal_repetition,
    // line description, body
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

enum class keyword_section : uint8_t { general, body, run };

// Beyond the substrings: what else must hold for the keyword to count.
enum class keyword_condition : uint8_t {
    none,
    track_plan_built,  // only when `compila_linea` is nonzero
};

// What the compiler does with one value, or a group of values, of a code.
struct code_value {
    std::string_view values;  // "5, 6", "25 and above", "any other"
    std::string_view effect;
};

// One value field of a keyword's line.
struct value_field {
    std::string_view name;     // the reader's own name (`posizione`, `vas`, ...) or a plain one
    std::string_view meaning;  // in English, a short noun phrase
    std::string_view unit;     // "m", "km/h", "per mille", "s", or why there is none
    field_width width;         // how it is read
    std::string_view range;    // the values accepted, and what happens outside them
    std::string_view kept;     // what the compiled files keep of it
    // What the compiler does with particular values, for a code.
    std::span<const code_value> codes = {};
    // Beyond `kept` and `codes` the compiler gives the value no meaning: it
    // is stored for the simulator.
    bool passed_on = false;
    // A value for an example line, where no writer line shows one ("" : 0).
    std::string_view sample = {};
};

struct keyword_row {
    keyword id;
    line_item item;  // what the line describes, for diagnostics
    keyword_section section;
    // Every non-empty part must stand somewhere in the field.
    std::string_view part1;
    std::string_view part2;
    bool ignore_case;
    keyword_condition condition;
    std::span<const std::string_view> writer_spellings;  // as the program's writers print them
    std::span<const value_field> values;
    // What else the keyword field itself decides, beyond the test.
    std::string_view note = {};
    // What the compiler does with the characters of the keyword field itself.
    std::span<const code_value> keyword_codes = {};

    // The reader's test on a keyword field; `lowered` is the field in lower
    // case (for the tests that ignore case).
    bool matches(std::string_view field, std::string_view lowered, bool track_plan_built) const;
};

// The rows in the order the readers test them.
std::span<const keyword_row> line_general_keywords();
std::span<const keyword_row> line_body_keywords();
std::span<const keyword_row> run_keywords();

// The row of a keyword.
const keyword_row& keyword_info(keyword id);

// The field that opens the readable part of both sources (case ignored).
inline constexpr std::string_view general_header = "[generale]";
// A heading such as "[curve]": a field with "[" and "]". The readers act on
// none but "[generale]" and the one that ends the general section.
bool is_heading(std::string_view field);
// The field that ends the general section: "[" and "]", and, once its leading
// blanks are gone, no leading "-" (tested after the general keywords).
bool ends_general_section(std::string_view field);

}  // namespace scenario
