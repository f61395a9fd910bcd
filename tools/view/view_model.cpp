#include "tools/view/view_model.h"

#include "compiler/compile_driver.h"
#include "compiler/errors.h"
#include "compiler/provenance.h"
#include "compiler/source_store.h"
#include "tools/render/slowdown_cells.h"
#include "tools/report/diagnostics.h"
#include "tools/report/report_json.h"
#include "tools/report/report_order.h"
#include "tools/report/text_encoding.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <set>
#include <string_view>
#include <vector>

namespace scenario::view {

namespace {

// ---- the errors: the same entries as `compile --json` ---------------------

json error_entries(const compiled_view& v) {
    json list = json::array();
    for (const tool::diagnosis& d : tool::in_report_order(tool::diagnose(v.state, v.log, v.stamp_error)))
        list.push_back(tool::diagnosis_json(d, v.labels.line, v.labels.run));
    return list;
}

json warning_entries(const compiled_view& v) {
    json list = json::array();
    for (const tool::worded_warning& w : tool::in_report_order(tool::word_warnings(v.state, v.log, {}).list))
        list.push_back(tool::warning_json(w, v.labels.line, v.labels.run));
    return list;
}

// ---- words for the compile's facts ------------------------------------------

const char* kind_words(uint8_t tipo) {
    switch (tipo) {
        case tipo_cella::libera:
            return "free cell";
        case tipo_cella::segnale:
            return "signal";
        case tipo_cella::fine_rallentamento:
            return "slowdown end";
        case tipo_cella::inizio_rallentamento:
            return "slowdown start";
        case tipo_cella::avviso_rallentamento:
            return "slowdown advance cell";
        case tipo_cella::approccio_rallentamento:
            return "slowdown approach cell";
        case tipo_cella::indicatore_vmax:
            return "maximum-speed board";
        case tipo_cella::fermata:
            return "station stop cell";
        case tipo_cella::lampada_galleria:
            return "tunnel lamp mark";
        case tipo_cella::segno:
            return "mark (abbattimento point with a value)";
        case tipo_cella::abbattimento_senza_valore:
            return "abbattimento point without a value";
        case tipo_cella::cartello_galleria:
            return "tunnel-name board";
        default:
            return "unknown kind";
    }
}

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
    return s == sorgente_testo::linea ? v.line_text : v.run_text;
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

// The route length: from "lunghezza percorso" when read, else from the cells
// (which run 7000 m past the line's end).
int64_t route_length(const stato_scenario& s) {
    int64_t length = s.voci[voce_treno].valore2;
    if (length <= 0)
        length = std::max<int64_t>(0, static_cast<int64_t>(s.celle.size()) * 50 - 7000);
    return length;
}

// The last point of the plan that holds a value.
int64_t last_plan_point(const tracciato_linea& t) {
    if (!t.esiste())
        return -1;
    int64_t last = t.ultimo_punto;
    while (last >= 0 && t.at(static_cast<int32_t>(last), 0).tipo == valore_tracciato::etichetta::vuoto &&
           t.at(static_cast<int32_t>(last), 1).tipo == valore_tracciato::etichetta::vuoto)
        --last;
    return last;
}

double round2(double x) {
    return std::round(x * 100.0) / 100.0;
}

// An item placed in cell c stands for the position 50 m before the cell.
int64_t item_position(std::size_t c) {
    return (static_cast<int64_t>(c) - 1) * 50;
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

// The `voci` slots the tunnel-name boards use.
std::set<std::size_t> board_slots(const stato_scenario& s, const compile_log& log) {
    std::set<std::size_t> slots;
    for (const cella& c : s.celle)
        if (c.tipo == tipo_cella::cartello_galleria && c.dato1 >= 1 && c.dato1 <= prima_voce_cartelli)
            slots.insert(static_cast<std::size_t>(c.dato1));
    for (std::size_t i = 1; i <= static_cast<std::size_t>(prima_voce_cartelli); ++i)
        if (log.record_origins[i].known && log.record_origins[i].item == line_item::tunnel_board)
            slots.insert(i);
    return slots;
}

json stations_json(const stato_scenario& s, const compile_log& log) {
    const std::set<std::size_t> boards = board_slots(s, log);
    std::vector<std::size_t> slots;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(prima_voce_cartelli); ++i) {
        const voce& r = s.voci[i];
        if (boards.count(i) || (r.tipo == 0 && r.testo.empty() && r.valore3 == 0))
            break;
        slots.push_back(i);
    }
    json list = json::array();
    for (std::size_t n = 0; n < slots.size(); ++n) {
        const voce& r = s.voci[slots[n]];
        json st;
        st["slot"] = slots[n];
        st["name"] = tool::from_windows1252(r.testo);
        st["position"] = r.valore3;
        st["kind"] = r.tipo;
        st["area"] = json::array({r.valore1, r.valore2});
        std::optional<int64_t> stop;
        for (std::size_t c = 0; c < s.celle.size(); ++c)
            if (s.celle[c].tipo == tipo_cella::fermata &&
                s.celle[c].dato1 == static_cast<int16_t>(slots[n])) {
                stop = static_cast<int64_t>(c);
                break;
            }
        st["stop_cell"] = stop ? json(*stop) : json(nullptr);
        // The timetable as the train card reads it: the time is the departure
        // (the arrival at the last station); a dwell puts the arrival before it;
        // a station without a time is passed without one.
        const int64_t time = r.valore4;
        const int64_t dwell = r.byte3;
        std::string arrival, departure;
        if (time > 0) {
            if (n + 1 == slots.size())
                arrival = clock_text(time);
            else if (n == 0)
                departure = clock_text(time);
            else if (dwell > 0) {
                arrival = clock_text(time - dwell);
                departure = clock_text(time);
            } else
                departure = clock_text(time);
        }
        st["arrival"] = arrival;
        st["departure"] = departure;
        st["dwell"] = dwell;
        list.push_back(std::move(st));
    }
    return list;
}

json profile_json(const stato_scenario& s, int64_t length, std::size_t points) {
    const std::size_t cells =
        std::min<std::size_t>(s.celle.size(), static_cast<std::size_t>(length / 50 + 1));
    const std::size_t step = std::max<std::size_t>(1, cells / std::max<std::size_t>(points, 1));
    json list = json::array();
    double elevation = 0;
    for (std::size_t c = 0; c < cells; ++c) {
        if (c % step == 0)
            list.push_back(json::array({static_cast<int64_t>(c) * 50, round2(elevation)}));
        elevation += (static_cast<double>(s.celle[c].pendenza) - 100.0) * 50.0 / 1000.0;
    }
    if (cells > 0)
        list.push_back(json::array({static_cast<int64_t>(cells) * 50, round2(elevation)}));
    return list;
}

}  // namespace

std::shared_ptr<const compiled_view> compile_view(std::string line_text, std::string run_text,
                                                  const std::string& name, const std::string& train,
                                                  const source_labels& labels) {
    auto v = std::make_shared<compiled_view>();
    v->line_text = std::move(line_text);
    v->run_text = std::move(run_text);
    v->labels = labels;
    v->state.nome_scenario = name;
    v->state.numero_treno = train;
    sorgenti_in_memoria sources{v->line_text, v->run_text};
    const auto start = std::chrono::steady_clock::now();
    v->stamp_error = compila_scenario(v->state, 1, sources, {}, &v->log);
    v->compile_ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    v->compiled_at_ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    v->errors = error_entries(*v);
    v->warnings = warning_entries(*v);
    return v;
}

view_status status_of(const compiled_view& v) {
    for (const json& e : v.errors) {
        const std::string severity = e.value("severity", "");
        if (severity != "reader" && severity != "fatal")
            continue;
        std::string where;
        if (e["file"].is_string())
            where =
                e["file"].get<std::string>() + (e["line"].is_number() ? ":" + e["line"].dump() : "") + ": ";
        const std::string what = where + "error " + e["number"].dump() + ": " + e.value("message", "");
        return {"stopped", severity == "fatal" ? "stopped by " + what : "reading stopped at " + what};
    }
    return {"compiled", ""};
}

json model_json(const compiled_view& v, std::size_t plan_points) {
    const stato_scenario& s = v.state;
    const int64_t length = route_length(s);
    json m;
    const view_status st = status_of(v);
    m["status"] = {{"kind", st.kind}, {"text", st.text}};
    m["compiled_at_ms"] = v.compiled_at_ms;
    m["compile_ms"] = round2(v.compile_ms);
    m["name"] = tool::from_windows1252(s.nome_scenario);
    m["train"] = tool::from_windows1252(s.numero_treno);
    m["files"] = {{"line", v.labels.line}, {"run", v.labels.run}};
    m["length"] = length;
    m["cells"] = s.celle.size();
    m["plan"] = plan_json(v, 0, length, static_cast<int64_t>(plan_points));
    m["profile"] = profile_json(s, length, plan_points);
    m["stations"] = stations_json(s, v.log);

    json signals = json::array(), slowdowns = json::array(), tunnels = json::array(), boards = json::array();
    for (std::size_t c = 0; c < s.celle.size(); ++c) {
        const cella& x = s.celle[c];
        if (x.tipo == tipo_cella::segnale)
            signals.push_back({{"position", item_position(c)}, {"cell", c}});
        if (x.tipo == tipo_cella::inizio_rallentamento) {
            const std::size_t e = tool::slowdown_end(s.celle, c);
            slowdowns.push_back(
                {{"from", item_position(c)}, {"to", item_position(e)}, {"speed", x.dato1}, {"cell", c}});
        }
        if (x.tipo == tipo_cella::cartello_galleria && x.dato1 >= 1 && x.dato1 < numero_voci)
            boards.push_back(
                {{"position", item_position(c)},
                 {"text", tool::from_windows1252(s.voci[static_cast<std::size_t>(x.dato1)].testo)},
                 {"cell", c}});
        // Tunnels: runs of cells with a tunnel class, within the line.
        if (x.galleria != 0 && static_cast<int64_t>(c) * 50 < length) {
            const int64_t from = static_cast<int64_t>(c) * 50;
            if (!tunnels.empty() && tunnels.back()["to"].get<int64_t>() == from)
                tunnels.back()["to"] = from + 50;
            else
                tunnels.push_back({{"from", from}, {"to", from + 50}, {"class", x.galleria}});
        }
    }
    m["signals"] = std::move(signals);
    m["slowdowns"] = std::move(slowdowns);
    m["tunnels"] = std::move(tunnels);
    m["boards"] = std::move(boards);
    m["errors"] = v.errors;
    m["warnings"] = v.warnings;
    return m;
}

json plan_json(const compiled_view& v, int64_t from, int64_t to, int64_t points) {
    const tracciato_linea& t = v.state.tracciato;
    json list = json::array();
    const int64_t last = last_plan_point(t);
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
    const stato_scenario& s = v.state;
    if (index < 0 || static_cast<uint64_t>(index) >= s.celle.size())
        return nullptr;
    const std::size_t c = static_cast<std::size_t>(index);
    const cella& x = s.celle[c];
    json j;
    j["index"] = index;
    j["from"] = index * 50;
    j["to"] = index * 50 + 50;
    j["fields"] = {{"tipo", x.tipo},         {"dato1", x.dato1},       {"dato2", x.dato2},
                   {"dato3", x.dato3},       {"dato4", x.dato4},       {"dato5", x.dato5},
                   {"dato6", x.dato6},       {"galleria", x.galleria}, {"velocita", x.velocita},
                   {"pendenza", x.pendenza}, {"aderenza", x.aderenza}};
    j["kind"] = kind_words(x.tipo);
    j["speed_kmh"] = int{x.velocita} * 5;
    j["gradient_permille"] = int{x.pendenza} - 100;
    if (x.tipo == tipo_cella::fermata && x.dato1 >= 1 && x.dato1 < numero_voci)
        j["station"] = tool::from_windows1252(s.voci[static_cast<std::size_t>(x.dato1)].testo);
    if (x.tipo == tipo_cella::cartello_galleria && x.dato1 >= 1 && x.dato1 < numero_voci)
        j["board"] = tool::from_windows1252(s.voci[static_cast<std::size_t>(x.dato1)].testo);
    j["item"] = x.tipo == tipo_cella::libera ? json(nullptr) : origin_json(v, cell_origin(&v.log, index));
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
    const stato_scenario& s = v.state;
    const std::optional<sorgente_testo> src = source_of(which);
    json cells = json::array();
    json positions = json::array();
    if (src) {
        const auto same = [&](const source_place& l) {
            return l.known && l.source == *src && l.line == line;
        };
        // A station's own position comes before the cells it marks.
        for (std::size_t i = 1; i <= static_cast<std::size_t>(prima_voce_cartelli); ++i)
            if (same(v.log.record_origins[i]) && v.log.record_origins[i].item == line_item::station)
                positions.push_back(s.voci[i].valore3);
        for (std::size_t c = 0; c < v.log.cell_origins.size() && cells.size() < 100; ++c)
            if (same(v.log.cell_origins[c])) {
                cells.push_back(c);
                positions.push_back(item_position(c));
            }
    }
    return {
        {"source", which}, {"line", line}, {"cells", std::move(cells)}, {"positions", std::move(positions)}};
}

}  // namespace scenario::view
