// One reading of a compiled route for every view of it: its length, the
// stations with their timetable, signals, slowdowns, tunnels, boards, the
// cell kinds in words, the end of the track plan. The views (the tool's
// drawings, its page, dump, the diagnostics) ask here instead of working the
// facts out again from `celle` and `voci`.
#pragma once

#include "compiler/cell_rules.h"
#include "compiler/compile_log.h"
#include "compiler/state.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario::route {

using records = std::array<voce, numero_voci>;

// ---- what the fields of a station record mean -------------------------------
inline int32_t station_position(const voce& v) {
    return v.valore3;
}
inline int32_t area_start(const voce& v) {
    return v.valore1;
}
inline int32_t area_end(const voce& v) {
    return v.valore2;
}
inline int32_t station_time(const voce& v) {  // seconds after midnight; 0: none
    return v.valore4;
}
inline uint8_t station_dwell(const voce& v) {  // seconds
    return v.byte3;
}
inline uint8_t station_kind(const voce& v) {
    return v.tipo;
}

// ---- what the fields of a cell mean ----------------------------------------
inline int cell_gradient(const cella& c) {  // per mille, + uphill
    return static_cast<int>(c.pendenza) - 100;
}
inline int cell_speed_kmh(const cella& c) {  // the line's limit in the cell
    return int{c.velocita} * 5;
}
// The record a stop cell or a tunnel-name board cell points at.
inline std::optional<int> record_of_cell(const cella& c) {
    if ((c.tipo != tipo_cella::fermata && c.tipo != tipo_cella::cartello_galleria) || c.dato1 < 1 ||
        c.dato1 >= numero_voci)
        return std::nullopt;
    return c.dato1;
}

// "lunghezza percorso" as the line description gave it (record 84); 0 when
// the record holds none.
inline int32_t length_read(const records& voci) {
    return voci[voce_treno].valore2;
}

// The run's braked-mass percentage ("percentuale massa frenata", record 84).
inline int32_t braked_mass_percentage(const records& voci) {
    return voci[voce_treno].valore1;
}

// The kilometre value, in metres, of the first progressive after their
// reordering (record 81); 0 when the line gives none.
inline int32_t first_progressive_metres(const records& voci) {
    return voci[voce_progressiva_tre].valore2;
}

// The speed limit of the first cell that has one, km/h; 0 when none has.
int first_speed_limit(const std::vector<cella>& celle);

// The route length in metres: "lunghezza percorso" as read (record 84); when
// it is not positive, worked back from the cells, which run `margine_percorso`
// past the line's end.
int64_t route_length(const std::vector<cella>& celle, const records& voci);

// Which records are stations. Stations take records 1 upward, in file order;
// tunnel-name boards take 80 downward. With the compile's log at hand, the
// stations are the records a station line filled. From a compiled run file
// alone, the records from 1 up to the first empty one, leaving out those a
// tunnel-name board cell points at; a station record that is all zero cannot
// be told from an empty record there, and ends the list.
std::vector<int> station_slots(const std::vector<cella>& celle, const records& voci,
                               const compile_log* log = nullptr);

struct station {
    int slot = 0;
    int32_t position = 0;
    int32_t area_from = 0, area_to = 0;
    uint8_t kind = 0;
    uint8_t dwell = 0;
    std::string name;  // as stored (Windows-1252)
    std::optional<std::size_t> stop_cell;
    // The timetable as the train card reads it, seconds after midnight: the
    // record's time is the departure, at the last station the arrival; a dwell
    // at a station between puts the arrival that much earlier. A station with
    // time 0 is passed without one.
    std::optional<int32_t> arrival, departure;
};
std::vector<station> stations(const std::vector<cella>& celle, const records& voci,
                              const compile_log* log = nullptr);

struct signal {
    std::size_t cell = 0;
    int64_t position = 0;
};
std::vector<signal> signals(const std::vector<cella>& celle);

// The cell that ends the slowdown starting at cell `start`: the next end
// cell, or `start` itself when none follows.
std::size_t slowdown_end(const std::vector<cella>& celle, std::size_t start);

struct slowdown {
    std::size_t start_cell = 0, end_cell = 0;
    int64_t from = 0, to = 0;  // item positions of the two cells
    int16_t speed = 0;         // km/h, as the start cell holds it
    // The advance cell 24 cells before the start, and the approach cells
    // before it (nearest first), when the cells hold them.
    std::optional<std::size_t> advance_cell;
    std::vector<std::size_t> approach_cells;
};
std::vector<slowdown> slowdowns(const std::vector<cella>& celle);

// Runs of cells with a tunnel class, within the first `length` metres; a run
// of adjacent tunnel cells is one tunnel, of its first cell's class.
struct tunnel {
    int64_t from = 0, to = 0;
    uint8_t tunnel_class = 0;
};
std::vector<tunnel> tunnels(const std::vector<cella>& celle, int64_t length);

struct board {
    std::size_t cell = 0;
    int64_t position = 0;
    int slot = 0;
    std::string text;  // as stored
};
std::vector<board> tunnel_boards(const std::vector<cella>& celle, const records& voci);

// A cell kind in words: its name ("slowdown start") and the phrase a sentence
// uses ("the start of a slowdown"). Null for a code no step writes.
struct cell_kind_words {
    const char* name;
    const char* phrase;
};
std::optional<cell_kind_words> cell_kind(uint8_t tipo);

// Whether a cell of this kind holds an item itself (a signal, a slowdown's
// start, a stop, a board), not a mark placed for one (approach, advance,
// end, a sweep mark).
inline bool holds_an_item(uint8_t tipo) {
    return tipo == tipo_cella::segnale || tipo == tipo_cella::inizio_rallentamento ||
           tipo == tipo_cella::indicatore_vmax || tipo == tipo_cella::fermata ||
           tipo == tipo_cella::cartello_galleria || tipo == tipo_cella::abbattimento_senza_valore;
}

// Whether cell `index` is the one the compile stamps the identity into.
inline bool holds_identity_stamps(std::size_t index) {
    return index == cella_timbrata;
}

// The last point of the plan that holds a value; -1 when there is none.
int64_t last_plan_point(const tracciato_linea& t);

// How far along the route a line description that a reader error stopped was
// read: the last gradient runs on to the route's end only when reading
// completes, so its gradients end with the last cell written (a cell never
// written holds 0, read as -100 per mille); its plan ends with its last point.
int64_t line_read_to(const std::vector<cella>& celle, const tracciato_linea& t, int64_t length);

// The number of cells of a route whose track plan has `points` points, by the
// line reader's own rounding of the plan's last point to the last cell.
std::size_t cells_for_plan_points(std::size_t points);

}  // namespace scenario::route
