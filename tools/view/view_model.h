// What the viewer's page is shown: one compile of the two text sources, kept
// whole in memory, and the answers built from it as JSON (the model pushed to
// the page, the plan of a stretch, a cell, source lines, where a line's items
// lie). Only facts the compile recorded; no source is parsed here.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/state.h"
#include "tools/core/memory_compile.h"
#include "tools/words/running_estimate.h"

#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace scenario::view {

// Keys stay in the order they are written, for people reading the JSON.
using json = nlohmann::ordered_json;

// The two text sources as the page names them.
struct source_labels {
    std::string line;  // the line description's path, as typed (UTF-8)
    std::string run;   // the run description's path
};

struct compiled_view {
    tool::compiled_sources compiled;  // the state, the log, the bytes compiled, the errors
    source_labels labels;
    tool::train_model model;  // the running-time estimate's train
    json errors;              // the entries `compile --json` gives
    json warnings;            // likewise, its "warnings"
    json problem_order;       // both as one list in report order
    double compile_ms = 0;
    int64_t compiled_at_ms = 0;  // wall clock, milliseconds since 1970

    const stato_scenario& state() const { return *compiled.state; }
    const compile_log& log() const { return compiled.log; }  // the lines behind cells and records
};

// Compiles the two sources in memory, timed; nothing is written anywhere.
std::shared_ptr<const compiled_view> compile_view(std::string line_text, std::string run_text,
                                                  const std::string& name, const std::string& train,
                                                  const source_labels& labels,
                                                  const tool::train_model& model = {});

// The status line: after a compile, or while a source cannot be read.
struct view_status {
    std::string kind;  // "compiled", "stopped" (a reader error stopped reading), "waiting"
    std::string text;
};
view_status status_of(const compiled_view& v);

// The metres of route the page draws: the route's length, or, after a reader
// error in the line description, as far as the line was read.
int64_t drawn_length(const compiled_view& v);

// The whole model the page draws: status, route length, the plan thinned to
// `plan_points`, the gradient profile, stations with their timetable, signals,
// slowdowns, tunnels with their boards, and the errors.
json model_json(const compiled_view& v, std::size_t plan_points = 2000);

// The plan between `from` and `to` metres, at most `points` points, each
// [position, x, y]; points never assigned are left out.
json plan_json(const compiled_view& v, int64_t from, int64_t to, int64_t points);

// Cell `index`: its eleven fields, its kind in words, what stands in it and
// the source line that placed it. Null when there is no such cell.
json cell_json(const compiled_view& v, int64_t index);

// Lines `line` - `context` to `line` + `context` of a source ("line" or
// "run"), as UTF-8. Null for an unknown source.
json source_json(const compiled_view& v, const std::string& which, int64_t line, int64_t context);

// The cells and records whose item the given source line placed.
json locate_json(const compiled_view& v, const std::string& which, int64_t line);

}  // namespace scenario::view
