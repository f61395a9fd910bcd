// The errors about a place on the route: a cell already taken, a mark with no
// free cell, a position beyond the route, a stop inherited from the line
// description, a stamp slot in use.
#include "compiler/provenance.h"
#include "compiler/route_facts.h"
#include "compiler/run_cells.h"
#include "tools/words/diagnosis_composer.h"

#include <algorithm>
#include <string>

namespace scenario::tool::composing {

std::string composer::taken_by(int64_t c) {
    if (c < 0 || c >= static_cast<int64_t>(s_.celle.size()))
        return "outside the route";
    std::string t =
        std::string("already taken by ") + what_stands(s_.celle[static_cast<std::size_t>(c)].tipo);
    const source_place origin = cell_origin(&log_, c);
    if (!origin.known)
        return t;
    add_related(origin, "the cell is taken by the " + describe(origin) + " placed here");
    t += " (the " + describe(origin) + " on line " + std::to_string(origin.line);
    if (!e_->place.known || origin.source != e_->place.source)
        t += std::string(" of ") + source_name(origin.source);
    return t + ")";
}

std::string composer::taken_cell(const char* fallback, const char* which) {
    const int64_t c = e_->cell.value_or(-1);
    return who(fallback) + ": " + which + " (" + stretch(c) + ") is " + taken_by(c);
}

std::optional<std::string> composer::taken_cell_message() {
    switch (e_->code) {
        case error_code::tunnel_board_cell_taken:
        case error_code::speed_board_cell_taken:
        case error_code::signal_cell_taken:
            return taken_cell("board", "its cell");
        case error_code::abbattimento_cell_taken:
            return taken_cell("abbattimento point", "its cell");
        case error_code::slowdown_advance_cell_taken:
            return taken_cell("slowdown", "its advance cell, 1200 m before its start");
        case error_code::slowdown_start_cell_taken:
            return taken_cell("slowdown", "its start cell");
        case error_code::slowdown_end_cell_taken:
            return taken_cell("slowdown", "its end cell");
        case error_code::slowdown_approach_cell_taken:
            return taken_cell("slowdown", "an approach cell before its advance point");
        default:
            return std::nullopt;
    }
}

std::optional<std::string> composer::sweep_message() const {
    const int64_t position_cell = route::cell_at_metre(e_->position);
    switch (e_->code) {
        case error_code::signal_mark_no_free_cell: {
            const std::string ahead = stretch(position_cell - 2, position_cell - 1);
            return who("signal") + ": both cells in front of it (" + ahead +
                   ") are taken, so it gets no mark " +
                   "for the slowdown whose advance point lies up to 1000 m after it";
        }
        case error_code::approach_mark_no_free_cell:
            return who("slowdown") + ": no free cell for one of its approach marks " +
                   "(250 to 350, 550 to 650 or 900 to 1000 m before its start cell)";
        case error_code::repeat_mark_no_free_cell:
            return who("slowdown") + ": no free cell at " + stretch(position_cell) + " for a repeat mark " +
                   "inside the slowdown, or for the mark in front of the first signal after its end";
        default:
            return std::nullopt;
    }
}

std::string composer::beyond_route_message() const {
    const logged_error& e = *e_;
    const bool station = e.place.item == line_item::station;
    const int32_t margin = station ? margine_stazione : margine_riga;
    std::string t = who("line") + ": ";
    if (e.position < 0)
        return t + "lies before the start of the route";
    if (oltre_fine_percorso(s_, e.position, margin))
        return t + "too close to or beyond the end of the route; " + (station ? "a station" : "a position") +
               " may lie at most at " + metres(ultima_posizione_accettata(s_, margin)) + " (the route is " +
               metres(route::length_read(s_.voci)) + " long, plus " +
               metres(int64_t{s_.lunghezza_estesa} - route::length_read(s_.voci)) + " of run-off)";
    if (e.place.item == line_item::slowdown) {
        const std::optional<int32_t> length = number_field(e.place, 3);
        if (length)
            return t + "its end, at " + metres(int64_t{e.position} + *length) +
                   ", lies beyond the end of the route";
        return t + "its end lies beyond the end of the route";
    }
    if (station)
        return t + "its station area or stop lies beyond the end of the route, or outside 32 bits";
    return t + "lies outside the route";
}

std::string composer::inherited_stop_message() {
    std::string t = who("line") +
                    ": the run description was read up to this line, its first signal or slowdown, "
                    "and stopped here for the error " +
                    std::to_string(error_number(e_->code)) + " left by ";
    const logged_error* previous = nullptr;
    for (std::size_t i = index_; i-- > 0;)
        if (log_.errors[i].code == e_->code && !log_.errors[i].inherited_stop) {
            previous = &log_.errors[i];
            break;
        }
    if (previous)
        add_related(previous->place, "the error " + std::to_string(error_number(e_->code)) + " left here");
    if (previous && previous->place.known)
        t += "line " + std::to_string(previous->place.line) + " of " + source_name(previous->place.source);
    else
        t += "an earlier line";
    return t + "; the error record took this position";
}

std::string composer::stamp_message() const {
    const bool identity = e_->code == error_code::identity_stamp_in_use;
    const char* name = identity ? "identity stamp" : "competition code stamp";
    // The stamped cell, as the compile logged it.
    const int64_t n = e_->cell.value_or(-1);
    if (n >= 0 && n < static_cast<int64_t>(s_.celle.size())) {
        const cella& c = s_.celle[static_cast<std::size_t>(n)];
        const int16_t value = identity ? c.dato1 : c.dato2;
        if (value != 0) {
            const std::string here = "cell " + std::to_string(n);
            std::string t = std::string(name) + ": " + here + " (" + stretch(n) + ") already holds " +
                            what_stands(c.tipo) + " with " + (identity ? "dato1" : "dato2") + " = " +
                            std::to_string(value);
            if (e_->place.known)
                t += " (the " + describe(e_->place) + ")";
            return t + "; the compiler stamps the scenario " + (identity ? "identity" : "competition code") +
                   " there, so nothing may stand in " + here + "; no file was written";
        }
    }
    return std::string(name) + ": the stamp slot of record 85 is already in use; no file was written";
}

}  // namespace scenario::tool::composing
