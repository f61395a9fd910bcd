#include "tools/view/view_model.h"

#include "compiler/errors.h"
#include "compiler/provenance.h"
#include "compiler/route_facts.h"
#include "compiler/unread_parts.h"
#include "tools/core/compile_report.h"
#include "tools/render/plan_geometry.h"
#include "tools/view/speed_model.h"
#include "tools/words/compiled_json.h"
#include "tools/words/diagnostics.h"
#include "tools/words/km_words.h"
#include "tools/words/report_json.h"
#include "tools/words/report_order.h"
#include "tools/words/text_encoding.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <set>
#include <string_view>
#include <vector>

namespace scenario::view {

namespace {

// ---- the errors: the same entries as `compile --json` ---------------------

json problem_cell(const compiled_view& v, const tool::diagnosis& d);

// The errors and warnings as `compile --json` lists them, and the order in
// which the page shows them as one list: [["error", i] or ["warning", i] ...].
void report_entries(compiled_view& v) {
    const std::vector<tool::diagnosis> errors = tool::in_report_order(v.compiled.errors);
    const std::vector<tool::worded_warning> warnings =
        tool::in_report_order(tool::word_warnings(v.state(), v.log(), {}).list);
    v.errors = json::array();
    for (const tool::diagnosis& d : errors)
        v.errors.push_back(tool::diagnosis_json(d, v.labels.line, v.labels.run));
    v.warnings = json::array();
    for (const tool::worded_warning& w : warnings)
        v.warnings.push_back(tool::warning_json(w, v.labels.line, v.labels.run));
    v.problem_order = json::array();
    for (const tool::report_item& item : tool::merged_report(errors, warnings))
        v.problem_order.push_back(
            json::array({item.error ? "error" : "warning", item.index,
                         item.error ? problem_cell(v, errors[item.index]) : json(nullptr)}));
}

// ---- words for the compile's facts ------------------------------------------

const char* source_key(sorgente_testo s) {
    return s == sorgente_testo::linea ? "line" : "run";
}

std::optional<sorgente_testo> source_of(const std::string& which) {
    if (which == "line")
        return sorgente_testo::linea;
    if (which == "run")
        return sorgente_testo::corsa;
    return std::nullopt;
}

std::string_view text_of(const compiled_view& v, sorgente_testo s) {
    return s == sorgente_testo::linea ? v.compiled.line_text : v.compiled.run_text;
}

const std::string& label_of(const compiled_view& v, sorgente_testo s) {
    return s == sorgente_testo::linea ? v.labels.line : v.labels.run;
}

// The lines of a source, numbered from 1 as the field reader numbers them
// (CR LF, CR or LF ends a line).
std::vector<std::string_view> split_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

std::string line_text(const compiled_view& v, sorgente_testo s, int32_t line) {
    const std::vector<std::string_view> lines = split_lines(text_of(v, s));
    if (line < 1 || static_cast<std::size_t>(line) > lines.size())
        return {};
    return tool::from_windows1252(lines[static_cast<std::size_t>(line) - 1]);
}

json origin_json(const compiled_view& v, const source_place& l) {
    if (!l.known)
        return nullptr;
    json o;
    o["source"] = source_key(l.source);
    o["file"] = label_of(v, l.source);
    o["line"] = l.line;
    o["element"] = tool::element_name(l.item);
    o["text"] = line_text(v, l.source, l.line);
    return o;
}

double round2(double x) {
    return std::round(x * 100.0) / 100.0;
}

std::string clock_text(int64_t seconds) {
    if (seconds < 0)
        return {};
    const int64_t h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    char b[32];
    std::snprintf(b, sizeof b, "%02lld:%02lld:%02lld", static_cast<long long>(h), static_cast<long long>(m),
                  static_cast<long long>(s));
    return b;
}

json stations_json(const stato_scenario& s, const compile_log& log) {
    const auto time_text = [](const std::optional<int32_t>& t) { return t ? clock_text(*t) : std::string(); };
    json list = json::array();
    for (const route::station& x : route::stations(s.celle, s.voci, &log)) {
        json st;
        st["slot"] = x.slot;
        st["name"] = tool::from_windows1252(x.name);
        st["position"] = x.position;
        st["km"] = tool::km_words(x.position, tool::km_style::figure);
        st["kind"] = x.kind;
        st["area"] = json::array({x.area_from, x.area_to});
        st["stop_cell"] = x.stop_cell ? json(*x.stop_cell) : json(nullptr);
        // The cell the page selects for it: its stop cell, else the cell its position stands for.
        st["cell"] = x.stop_cell ? static_cast<int64_t>(*x.stop_cell)
                                 : route::item_cell(line_item::station, x.position);
        st["arrival"] = time_text(x.arrival);
        st["departure"] = time_text(x.departure);
        st["dwell"] = x.dwell;
        list.push_back(std::move(st));
    }
    return list;
}

// The route's heights, about `points` of them, ending where the profile ends.
json profile_json(const route::gradient_profile& profile, std::size_t points) {
    const std::size_t cells = profile.heights.size() - 1;
    const std::size_t step = std::max<std::size_t>(1, cells / std::max<std::size_t>(points, 1));
    json list = json::array();
    for (std::size_t c = 0; c <= cells; ++c)
        if (c % step == 0 || c == cells)
            list.push_back(json::array({profile.heights[c].first, round2(profile.heights[c].second)}));
    return list;
}

// Stretches of one gradient, [from, to, value], for the profile's labels and
// its hover.
json gradients_json(const route::gradient_profile& profile) {
    json list = json::array();
    for (const route::gradient_stretch& g : profile.gradients)
        list.push_back(json::array({g.from, g.to, g.per_mille}));
    return list;
}

// The cell the page selects for each entry of the problem list: the cell the
// error names, else the one its line's position stands for; null for none.
json problem_cell(const compiled_view& v, const tool::diagnosis& d) {
    if (!d.position)
        return nullptr;
    for (const logged_error& e : v.log().errors) {
        if (e.code != d.code || !e.place.known || !d.source || e.place.source != *d.source ||
            e.place.line != d.line || (e.has_position && e.position != *d.position))
            continue;
        if (e.cell)
            return *e.cell;
        if (route::has_item_cell(e.place.item))
            return route::item_cell(e.place.item, *d.position);
    }
    return route::cell_at_metre(static_cast<double>(*d.position));
}

}  // namespace

std::shared_ptr<const compiled_view> compile_view(std::string line_text, std::string run_text,
                                                  const std::string& name, const std::string& train,
                                                  const source_labels& labels,
                                                  const tool::train_model& model) {
    auto v = std::make_shared<compiled_view>();
    v->labels = labels;
    v->model = model;
    const auto start = std::chrono::steady_clock::now();
    v->compiled = tool::compile_texts(std::move(line_text), std::move(run_text), {name, train, false}, true);
    v->compile_ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    v->compiled_at_ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    report_entries(*v);
    return v;
}

view_status status_of(const compiled_view& v) {
    // The first error in report order that stopped reading or the compile.
    for (const tool::diagnosis& d : tool::in_report_order(v.compiled.errors)) {
        if (d.severity == error_severity::sweep)
            continue;
        std::string where;
        if (auto file = tool::file_named(d.source, v.labels.line, v.labels.run))
            where = *file + (d.line > 0 ? ":" + std::to_string(d.line) : std::string()) + ": ";
        const std::string what = where + "error " + std::to_string(d.number) + ": " + d.message;
        return {"stopped",
                d.severity == error_severity::fatal ? "stopped by " + what : "reading stopped at " + what};
    }
    // A source nothing was read of fails as an error would.
    const std::vector<unread_part> unread = unread_parts(v.state(), v.log());
    if (!unread.empty()) {
        const unread_part& u = unread.front();
        std::string where;
        if (auto file = tool::file_named(u.source, v.labels.line, v.labels.run))
            where =
                *file + (u.place.known && u.place.line > 0 ? ":" + std::to_string(u.place.line) : "") + ": ";
        return {"stopped", where + "not read: " + tool::unread_message(u)};
    }
    return {"compiled", ""};
}

namespace {

// The error that stopped reading the line description: the run description
// is then not read at all.
std::optional<tool::diagnosis> line_reading_stop(const compiled_view& v) {
    for (const tool::diagnosis& d : v.compiled.errors)
        if (d.source == sorgente_testo::linea && d.severity != error_severity::sweep)
            return d;
    return std::nullopt;
}

}  // namespace

int64_t drawn_length(const compiled_view& v) {
    const stato_scenario& s = v.state();
    const int64_t route_length = route::route_length(s.celle, s.voci);
    return line_reading_stop(v) ? route::line_read_to(s.celle, s.tracciato, route_length) : route_length;
}

json model_json(const compiled_view& v, std::size_t plan_points) {
    const stato_scenario& s = v.state();
    const int64_t route_length = route::route_length(s.celle, s.voci);
    const std::optional<tool::diagnosis> stop = line_reading_stop(v);
    const int64_t length = drawn_length(v);
    json m;
    const view_status st = status_of(v);
    m["status"] = {{"kind", st.kind}, {"text", st.text}};
    m["compiled_at_ms"] = v.compiled_at_ms;
    m["compile_ms"] = round2(v.compile_ms);
    m["name"] = tool::from_windows1252(s.nome_scenario);
    m["train"] = tool::from_windows1252(s.numero_treno);
    m["files"] = {{"line", v.labels.line}, {"run", v.labels.run}};
    m["length"] = length;  // as drawn
    m["route_length"] = route_length;
    m["route_length_km"] = tool::km_words(route_length, tool::km_style::axis);
    m["line_stop"] = stop ? json{{"line", stop->line},
                                 {"number", stop->number},
                                 {"message", stop->message},
                                 {"read_to", length},
                                 {"read_to_km", tool::km_words(length, tool::km_style::axis)}}
                          : json(nullptr);
    m["cells"] = s.celle.size();
    m["plan"] = plan_json(v, 0, length, static_cast<int64_t>(plan_points));
    const tool::profile_shape profile = tool::profile_of(s.celle, length);
    m["profile"] = profile_json(profile.profile, plan_points);
    m["profile_band"] = json::array({profile.low, profile.high});  // the heights drawn, as the SVG's
    m["stations"] = stations_json(s, v.log());
    m["gradients"] = gradients_json(profile.profile);

    json signals = json::array(), slowdowns = json::array(), tunnels = json::array(), boards = json::array();
    for (const route::signal& x : route::signals(s.celle))
        signals.push_back({{"position", x.position},
                           {"km", tool::km_words(x.position, tool::km_style::figure)},
                           {"cell", x.cell}});
    for (const route::slowdown& r : route::slowdowns(s.celle))
        slowdowns.push_back({{"from", r.from},
                             {"to", r.to},
                             {"km", tool::km_words(r.from, tool::km_style::figure)},
                             {"speed", r.speed},
                             {"cell", r.start_cell}});
    for (const route::board& b : route::tunnel_boards(s.celle, s.voci))
        boards.push_back(
            {{"position", b.position}, {"text", tool::from_windows1252(b.text)}, {"cell", b.cell}});
    for (const route::tunnel& g : route::tunnels(s.celle, length))
        tunnels.push_back({{"from", g.from}, {"to", g.to}, {"class", g.tunnel_class}});
    m["signals"] = std::move(signals);
    m["slowdowns"] = std::move(slowdowns);
    m["tunnels"] = std::move(tunnels);
    m["boards"] = std::move(boards);
    m["speed"] = speed_json(v, length);
    m["errors"] = v.errors;
    m["warnings"] = v.warnings;
    m["problem_order"] = v.problem_order;
    return m;
}

json plan_json(const compiled_view& v, int64_t from, int64_t to, int64_t points) {
    const tracciato_linea& t = v.state().tracciato;
    json list = json::array();
    const int64_t last = route::last_plan_point(t);
    if (last < 0)
        return list;
    from = std::clamp<int64_t>(from, 0, last);
    to = std::clamp<int64_t>(to, from, last);
    points = std::clamp<int64_t>(points, 2, 20000);
    // At most `points` steps, and the last point.
    const int64_t step = std::max<int64_t>(1, (to - from + points - 1) / points);
    for (int64_t p = from;; p = std::min(p + step, to)) {
        const valore_tracciato& x = t.at(static_cast<int32_t>(p), 0);
        const valore_tracciato& y = t.at(static_cast<int32_t>(p), 1);
        if (x.tipo != valore_tracciato::etichetta::vuoto && y.tipo != valore_tracciato::etichetta::vuoto)
            list.push_back(json::array({p, round2(x.numero()), round2(y.numero())}));
        if (p >= to)
            break;
    }
    return list;
}

json cell_json(const compiled_view& v, int64_t index) {
    const stato_scenario& s = v.state();
    if (index < 0 || static_cast<uint64_t>(index) >= s.celle.size())
        return nullptr;
    const std::size_t c = static_cast<std::size_t>(index);
    const cella& x = s.celle[c];
    json j;
    j["index"] = index;
    j["from"] = route::cell_span(index).from;
    j["to"] = route::cell_span(index).to;
    j["fields"] = tool::cell_fields_json(x);
    const std::optional<route::cell_kind_words> kind = route::cell_kind(x.tipo);
    const bool stamps = route::holds_identity_stamps(c) && x.tipo == tipo_cella::libera;
    j["kind"] = stamps ? "identity stamps" : kind ? kind->name : "unknown kind";
    j["stamps"] = stamps;
    j["speed_kmh"] = route::cell_speed_kmh(x);
    j["gradient_permille"] = route::cell_gradient(x);
    if (const std::optional<int> slot = route::record_of_cell(x))
        j[x.tipo == tipo_cella::fermata ? "station" : "board"] =
            tool::from_windows1252(s.voci[static_cast<std::size_t>(*slot)].testo);
    j["item"] = x.tipo == tipo_cella::libera ? json(nullptr) : origin_json(v, cell_origin(&v.log(), index));
    // The compile keeps the line behind each cell's item, not behind the
    // profile values (speed, adhesion, gradient) a cell takes from a range.
    j["profile_origin"] = nullptr;
    return j;
}

json source_json(const compiled_view& v, const std::string& which, int64_t line, int64_t context) {
    const std::optional<sorgente_testo> s = source_of(which);
    if (!s)
        return nullptr;
    const std::vector<std::string_view> lines = split_lines(text_of(v, *s));
    const int64_t total = static_cast<int64_t>(lines.size());
    context = std::clamp<int64_t>(context, 0, 200);
    line = std::clamp<int64_t>(line, 1, std::max<int64_t>(total, 1));
    const int64_t first = std::max<int64_t>(1, line - context);
    const int64_t last = std::min<int64_t>(total, line + context);
    json j;
    j["source"] = which;
    j["file"] = label_of(v, *s);
    j["line"] = line;
    j["first"] = first;
    j["total"] = total;
    json text = json::array();
    for (int64_t n = first; n <= last; ++n)
        text.push_back(tool::from_windows1252(lines[static_cast<std::size_t>(n - 1)]));
    j["lines"] = std::move(text);
    return j;
}

json locate_json(const compiled_view& v, const std::string& which, int64_t line) {
    const stato_scenario& s = v.state();
    const std::optional<sorgente_testo> src = source_of(which);
    json cells = json::array();
    json positions = json::array();
    if (src) {
        const auto same = [&](const source_place& l) {
            return l.known && l.source == *src && l.line == line;
        };
        // A station's own position comes before the cells it marks.
        for (int slot : route::station_slots(s.celle, s.voci, &v.log()))
            if (same(v.log().record_origins[static_cast<std::size_t>(slot)]))
                positions.push_back(route::station_position(s.voci[static_cast<std::size_t>(slot)]));
        std::vector<std::size_t> placed;
        for (std::size_t c = 0; c < v.log().cell_origins.size() && placed.size() < 100; ++c)
            if (same(v.log().cell_origins[c]))
                placed.push_back(c);
        // The item's own cell before the marks placed for it (a slowdown's
        // approach and advance cells lie before its start).
        std::stable_partition(placed.begin(), placed.end(),
                              [&](std::size_t c) { return route::holds_an_item(s.celle[c].tipo); });
        for (std::size_t c : placed) {
            cells.push_back(c);
            positions.push_back(route::item_position(c));
        }
    }
    // The cell the page selects: the first item cell, else the cell the
    // first position stands for (a station the compile gave no stop cell).
    json cell = nullptr;
    if (!cells.empty())
        cell = cells[0];
    else if (!positions.empty())
        cell = route::item_cell(line_item::station, positions[0].get<int64_t>());
    return {{"source", which},
            {"line", line},
            {"cells", std::move(cells)},
            {"positions", std::move(positions)},
            {"cell", std::move(cell)}};
}

}  // namespace scenario::view
