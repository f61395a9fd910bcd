#include "tools/view/speed_model.h"

#include "compiler/provenance.h"
#include "compiler/route_facts.h"
#include "compiler/speed_profile.h"
#include "tools/render/speed_band.h"
#include "tools/words/km_words.h"
#include "tools/words/running_estimate.h"

#include <vector>

namespace scenario::view {

namespace {

// A line of the run description by its number (speed lines and slowdowns are
// all there); null when not known.
json run_line(const source_place& l) {
    return l.known && l.source == sorgente_testo::corsa ? json(l.line) : json(nullptr);
}

}  // namespace

json speed_json(const compiled_view& v, int64_t length) {
    const stato_scenario& s = v.state();
    const compile_log& log = v.log();
    const std::vector<route::slowdown> slowdowns = route::slowdowns(s.celle);
    const std::vector<route::speed_stretch> stretches = route::permitted_speed(s.celle, length, &log);

    // Each stretch as [from, to, permitted km/h, line km/h, slowdown or null,
    // first cell, line of the run description]: compact, since a long route
    // has many.
    json band = json::array();
    for (const route::speed_stretch& x : stretches) {
        const json line = run_line(
            x.slowdown ? cell_origin(&log, static_cast<int64_t>(slowdowns[*x.slowdown].start_cell)) : x.line);
        band.push_back(json::array({x.from, x.to, x.speed_kmh, x.line_kmh,
                                    x.slowdown ? json(*x.slowdown) : json(nullptr), x.first_cell, line}));
    }
    json marks = json::array();
    for (const route::slowdown& r : slowdowns) {
        // The advance and approach cells, and where the band marks them: the
        // position each stands for.
        json approach = json::array(), approach_at = json::array();
        for (std::size_t c : r.approach_cells) {
            approach.push_back(c);
            approach_at.push_back(route::item_position(c));
        }
        marks.push_back(
            {{"from", r.from},
             {"to", r.to},
             {"speed", r.speed},
             {"cell", r.start_cell},
             {"advance_cell", r.advance_cell ? json(*r.advance_cell) : json(nullptr)},
             {"advance_at", r.advance_cell ? json(route::item_position(*r.advance_cell)) : json(nullptr)},
             {"approach_cells", std::move(approach)},
             {"approach_at", std::move(approach_at)}});
    }
    json boards = json::array();
    const std::vector<route::speed_board> board_list = route::speed_boards(s.celle, &log);
    for (const route::speed_board& b : board_list) {
        json values = json::array();
        for (int32_t x : b.values)
            values.push_back(x);
        boards.push_back({{"position", b.position},
                          {"km", tool::km_words(b.position, tool::km_style::figure)},
                          {"cell", b.cell},
                          {"values", std::move(values)},
                          {"as_written", b.as_written},
                          {"line", cell_origin(&log, static_cast<int64_t>(b.cell)).line}});
    }
    const std::vector<route::station> stations = route::stations(s.celle, s.voci, &log);
    return {
        {"stretches", std::move(band)},
        {"scale_top", tool::speed_scale_top(stretches, board_list)},
        {"slowdowns", std::move(marks)},
        {"boards", std::move(boards)},
        {"train_model",
         {{"acceleration", v.model.acceleration}, {"braking", v.model.braking}, {"length", v.model.length}}},
        {"running_times",
         tool::running_times_json(stations, tool::running_times(stations, stretches, v.model))}};
}

}  // namespace scenario::view
