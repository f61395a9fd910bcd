#include "tools/fit/draft_sources.h"

#include "compiler/cell_rules.h"
#include "compiler/speed_profile.h"
#include "tools/fit/line_entries.h"
#include "tools/fit/place_names.h"
#include "tools/words/running_estimate.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace scenario::fit {

namespace {

constexpr int64_t cell = route::cell_length;
constexpr int record_slots = 78;             // stations and boards together (slots 1..80, two kept free)
constexpr int most_tunnels = 80;             // tunnel lines the line description holds
constexpr int64_t first_signal = 350;        // a signal's approach marks need four cells before it
constexpr int64_t open_between_areas = 350;  // metres of open line between two station areas
constexpr int64_t near_tunnels = 150;        // a tunnel this close after another is of class 3
constexpr int highest_speed = 300;           // km/h: a fifth must fit a byte; no line is faster

int64_t nearest_cell(int64_t m) {
    return route::nearest_cell_start(static_cast<double>(m));
}

std::string metres(int64_t m) {
    return std::to_string(m) + " m";
}

std::string padded(int64_t v, std::size_t width) {
    std::string s = std::to_string(v);
    return std::string(s.size() < width ? width - s.size() : 0, ' ') + s;
}

std::string clock_of(int32_t t) {
    const int32_t h = t / 3600, m = t / 60 % 60, s = t % 60;
    return padded(h, 3) + "," + padded(m, 2) + "," + padded(s, 2);
}

// A station as the run description places it: its kind and area.
struct placed_station {
    std::string name;
    int64_t position = 0;
    int kind = 22;
    int64_t area = 300;
    bool extra_cell = true;  // field 6: the area ends a cell further on
    int dwell = 0;
    std::optional<int32_t> time;
    int64_t area_from() const { return kind == 22 || kind == 12 ? position - area / 2 : position - area / 2; }
    int64_t area_to() const { return position + area / 2 + (extra_cell ? cell : 0); }
    int64_t stop_cell() const { return area_to() / cell - 1; }
};

struct placed_tunnel {
    int64_t from = 0, to = 0;
    std::string name;
};

void drop(std::vector<dropped>& out, std::string what, std::string why) {
    out.push_back({std::move(what), std::move(why)});
}

std::vector<placed_tunnel> place_tunnels(const draft& d, int64_t length, std::vector<dropped>& gone) {
    std::vector<placed_tunnel> t;
    for (const draft_tunnel& in : d.tunnels) {
        const std::string name = place_name(in.name);
        const std::string what =
            "tunnel " + (name.empty() ? std::string() : name + " ") + "at " + metres(in.from);
        int64_t from = nearest_cell(std::max<int64_t>(0, std::min(in.from, in.to)));
        int64_t to = nearest_cell(std::min(length, std::max(in.from, in.to)));
        if (from >= length) {
            drop(gone, what, "it starts beyond the route's end");
            continue;
        }
        to = std::max(to, from + cell);
        t.push_back({from, to, name});
    }
    std::sort(t.begin(), t.end(), [](const auto& a, const auto& b) { return a.from < b.from; });
    // Tunnels that share cells are one tunnel.
    std::vector<placed_tunnel> merged;
    for (placed_tunnel& x : t) {
        if (!merged.empty() && x.from < merged.back().to) {
            merged.back().to = std::max(merged.back().to, x.to);
            if (merged.back().name.empty())
                merged.back().name = x.name;
            continue;
        }
        merged.push_back(std::move(x));
    }
    if (merged.size() > most_tunnels) {
        // The longest are kept.
        std::vector<std::size_t> order(merged.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return merged[a].to - merged[a].from > merged[b].to - merged[b].from;
        });
        std::vector<bool> keep(merged.size(), false);
        for (std::size_t i = 0; i < static_cast<std::size_t>(most_tunnels); ++i)
            keep[order[i]] = true;
        std::vector<placed_tunnel> kept;
        for (std::size_t i = 0; i < merged.size(); ++i) {
            if (keep[i])
                kept.push_back(merged[i]);
            else
                drop(gone, "tunnel at " + metres(merged[i].from),
                     "the line description holds 80 tunnels; the shortest are left out");
        }
        merged = std::move(kept);
    }
    return merged;
}

std::vector<placed_station> place_stations(const draft& d, int64_t length, std::vector<dropped>& gone) {
    std::vector<placed_station> in;
    for (std::size_t i = 0; i < d.stations.size(); ++i) {
        const draft_station& s = d.stations[i];
        placed_station p;
        p.name = place_name(s.name);
        if (p.name.empty())
            p.name = "STAZIONE " + std::to_string(i + 1);
        p.position = nearest_cell(s.position);
        p.dwell = std::clamp(s.dwell, 0, 255);
        p.time = s.time;
        if (s.position < 0 || p.position > length) {
            drop(gone, "station " + p.name, "it lies off the route (at " + metres(s.position) + ")");
            continue;
        }
        in.push_back(std::move(p));
    }
    std::stable_sort(in.begin(), in.end(),
                     [](const auto& a, const auto& b) { return a.position < b.position; });
    std::vector<placed_station> out;
    for (placed_station& s : in) {
        if (out.empty()) {
            s.kind = 4;  // the first station, as the program's
            s.area = 600;
            s.extra_cell = false;
            out.push_back(std::move(s));
            continue;
        }
        if (static_cast<int>(out.size()) >= record_slots) {
            drop(gone, "station " + s.name, "the run description holds 78 stations");
            continue;
        }
        // The smaller area when the larger one comes too near the last station's.
        bool placed = false;
        for (int64_t area : {300, 200}) {
            s.area = area;
            if (s.area_from() - open_between_areas >= out.back().area_to()) {
                placed = true;
                break;
            }
        }
        if (!placed) {
            drop(gone, "station " + s.name + " at " + metres(s.position),
                 "its area would leave less than 350 m of open line after " + out.back().name + "'s");
            continue;
        }
        out.push_back(std::move(s));
    }
    if (out.size() > 1) {
        // The last one is where the train ends, as the program's last station.
        placed_station& last = out.back();
        const placed_station& before = out[out.size() - 2];
        last.kind = 12;
        last.extra_cell = false;
        last.area = 400;
        if (last.area_from() - open_between_areas < before.area_to())
            last.area = 200;
    }
    return out;
}

// The draft timetable: given times kept, the others from the estimate.
void timetable(std::vector<placed_station>& st, const std::vector<route::speed_stretch>& speeds,
               const draft& d) {
    if (st.empty())
        return;
    st.front().dwell = 1;
    if (st.size() > 1)
        st.back().dwell = 0;
    int32_t departure = st.front().time.value_or(d.departure);
    st.front().time = departure;
    for (std::size_t i = 1; i < st.size(); ++i) {
        if (!st[i].time) {
            const std::optional<double> run = tool::estimate_run(speeds, st[i - 1].position, st[i].position,
                                                                 true, true, tool::train_model{});
            const double seconds =
                run.value_or(static_cast<double>(st[i].position - st[i - 1].position) / 10.0);
            const auto arrival = static_cast<int32_t>(
                std::ceil((departure + seconds * (1 + std::max(0.0, d.margin))) / 60.0) * 60.0);
            st[i].time = i + 1 == st.size() ? arrival : arrival + st[i].dwell;
        }
        departure = *st[i].time;
    }
}

}  // namespace

draft_result write_draft(const draft& d) {
    draft_result out;
    std::vector<dropped>& gone = out.dropped;
    const fitted_line& f = d.line;
    const int64_t length = f.length;
    const int64_t start_km = std::max<int64_t>(0, d.start_km_m / cell * cell);
    if (start_km != d.start_km_m)
        drop(gone, "start km " + metres(d.start_km_m),
             "the first kilometre post stands on a 50 m cell: " + metres(start_km));

    std::vector<placed_tunnel> tunnels = place_tunnels(d, length, gone);
    std::vector<placed_station> stations = place_stations(d, length, gone);
    if (stations.size() < 2) {
        // A run goes from one station to another: the missing ends are added.
        draft with_ends = d;
        const int64_t end = std::max<int64_t>(0, (length - 200) / cell * cell);
        if (stations.empty() || stations.front().position >= 1000) {
            with_ends.stations.insert(with_ends.stations.begin(), draft_station{"INIZIO", 0, 30, {}});
            out.added.push_back("station INIZIO at 0 m: the route needs a first station");
        }
        if (stations.empty() || stations.back().position + 1000 <= end) {
            with_ends.stations.push_back(draft_station{"FINE", end, 30, {}});
            out.added.push_back("station FINE at " + metres(end) + ": the route needs a last station");
        }
        std::vector<dropped> again;
        stations = place_stations(with_ends, length, again);
    }

    // Boards take the record slots the stations leave.
    const std::size_t board_room =
        static_cast<std::size_t>(record_slots) - std::min(stations.size(), std::size_t{78});
    std::set<int64_t> taken;  // cells with a board or a stop
    std::vector<std::string> boards;
    for (const placed_tunnel& t : tunnels) {
        const std::string what = "name board of the tunnel at " + metres(t.from);
        // Cell 0 is before the route and cell 1 holds the compile's stamps.
        if (t.from < 2 * cell) {
            drop(gone, what,
                 "the tunnel starts within 100 m of the route's start: no cell before it can hold its board");
            continue;
        }
        if (boards.size() >= board_room) {
            drop(gone, what, "boards and stations share 78 records; the stations come first");
            continue;
        }
        boards.push_back("cartello_indicatore,  " + std::to_string(t.from - cell) + ",  (" +
                         (t.name.empty() ? std::string("GALLERIA") : t.name) + ")(" +
                         std::to_string(t.to - t.from) + " m.)");
        taken.insert(route::item_cell(line_item::tunnel_board, t.from - cell));
    }
    for (const placed_station& s : stations)
        taken.insert(s.stop_cell());

    // The line's speed limits, from 0 on.
    std::map<int64_t, int> limit;
    for (const draft_speed& s : d.speeds) {
        const int kmh = std::min(s.kmh / 5 * 5, highest_speed);
        const int64_t from = std::max<int64_t>(0, nearest_cell(s.from));
        if (kmh < 5) {
            drop(gone, "speed limit at " + metres(s.from), "below 5 km/h");
            continue;
        }
        if (from >= length) {
            drop(gone, "speed limit at " + metres(s.from), "beyond the route's end");
            continue;
        }
        limit[from] = kmh;
    }
    if (limit.empty())
        limit[0] = 80;
    else if (limit.begin()->first > 0)
        limit[0] = limit.begin()->second;
    std::vector<std::pair<int64_t, int>> speeds;
    for (const auto& [from, kmh] : limit)
        if (speeds.empty() || speeds.back().second != kmh)
            speeds.push_back({from, kmh});
    std::vector<route::speed_stretch> stretches;
    for (std::size_t i = 0; i < speeds.size(); ++i) {
        route::speed_stretch s;
        s.from = speeds[i].first;
        s.to = i + 1 < speeds.size() ? speeds[i + 1].first : length;
        s.speed_kmh = s.line_kmh = speeds[i].second;
        stretches.push_back(s);
    }
    timetable(stations, stretches, d);

    // Signals: one per cell, none before 350 m, none on a board or a stop.
    std::vector<int64_t> signals;
    std::set<int64_t> signal_cells;
    for (const draft_signal& s : d.signals) {
        const std::string what = "signal at " + metres(s.position);
        int64_t p = nearest_cell(s.position);
        if (p < first_signal) {
            drop(gone, what, "a signal needs 350 m of route before it");
            continue;
        }
        if (p > length) {
            drop(gone, what, "beyond the route's end");
            continue;
        }
        while (taken.count(route::item_cell(line_item::signal, p)) != 0 && p + cell <= length)
            p += cell;  // the next cell when a board or a stop stands in its own
        if (taken.count(route::item_cell(line_item::signal, p)) != 0) {
            drop(gone, what, "its cell holds a board or a stop");
            continue;
        }
        if (!signal_cells.insert(route::item_cell(line_item::signal, p)).second) {
            drop(gone, what, "another signal stands in its cell");
            continue;
        }
        signals.push_back(p);
    }
    std::sort(signals.begin(), signals.end());

    // The line description.
    std::vector<std::string> line = {
        "[generale]",
        length_entry(length),
        "progressiva chilometrica uno,    0,    " + std::to_string(start_km) + ",    0",
        "progressiva chilometrica due,    0,    0,    0",
        "progressiva chilometrica tre,    0,    0,    0",
        "sfondo uno,    1",
        "sfondo due,    2000",
        "sfondo tre,    4000",
        "ripetizione segnali 4 codici,    0,    0",
        "[curve]",
    };
    for (const curve_line& c : f.curves)
        line.push_back(curve_entry(c));
    line.push_back("[pendenze]");
    for (const gradient_line& g : f.gradients)
        line.push_back(gradient_entry(g));
    line.push_back("[montagne]");
    int64_t previous_end = -1000000;
    for (const placed_tunnel& t : tunnels) {
        // A tunnel close after another is of class 3 whatever its line says:
        // the line says so too.
        const int tunnel_class = t.from - previous_end <= near_tunnels ? 13 : 12;
        line.push_back("montagna,  " + std::to_string(t.from) + ",  " + std::to_string(t.to) + ",  " +
                       std::to_string(tunnel_class));
        previous_end = t.to;
    }
    line.push_back("[indicazioni]");
    for (const std::string& b : boards)
        line.push_back(b);
    line.push_back("[fine]");

    // The run description.
    const int32_t clock = stations.empty() ? d.departure : *stations.front().time;
    std::vector<std::string> run = {
        "[generale]",
        "numero vetture,    3",
        "percentuale massa frenata,    120",
        "sabbia,    300",
        "orologio,    " + std::to_string(clock / 3600) + ",    " + std::to_string(clock / 60 % 60) + ",    " +
            std::to_string(clock % 60),
        "[aderenze]",
        "aderenza,    0,    100",
        "[vel_limite]",
    };
    for (const auto& [from, kmh] : speeds)
        run.push_back("velocita,    " + std::to_string(from) + ",    " + std::to_string(kmh));
    run.push_back("[stazioni]");
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const placed_station& s = stations[i];
        // The attributes of the program's own stations of the same kind.
        const char* attributes = s.kind == 4    ? "  0, 0, 0,  1,1,0,  4,1,1,"
                                 : s.kind == 12 ? "  0, 0, 0,  1,1,0,  2,1,1,"
                                                : "  0, 0, 1,  0,0,0,  4,1,1,";
        run.push_back("stazione," + padded(s.position, 8) + "," + padded(s.kind, 3) + "," +
                      padded(s.area, 5) + "," + attributes + padded(s.dwell, 5) + "," +
                      clock_of(s.time.value_or(0)) + ", " + s.name);
    }
    run.push_back("[rallentamenti]");
    run.push_back("[segnali]");
    for (int64_t p : signals)
        run.push_back("segnale," + padded(p, 8) + ",   1, 4, 1,  0, 0,    0,  0,0,0, 0");
    run.push_back("[fine]");

    out.texts.line = file_bytes(line);
    out.texts.run = file_bytes(run);
    return out;
}

}  // namespace scenario::fit
