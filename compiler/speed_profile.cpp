#include "compiler/speed_profile.h"

#include "compiler/route_facts.h"

#include <algorithm>

namespace scenario::route {

namespace {

bool same_line(const source_place& a, const source_place& b) {
    return a.known == b.known && (!a.known || (a.source == b.source && a.line == b.line));
}

// The speed-limit line behind each cell, from the runs the reader noted.
std::vector<source_place> speed_lines(std::size_t cells, const compile_log* log) {
    std::vector<source_place> lines(cells);
    if (log == nullptr)
        return lines;
    const std::vector<profile_run>& runs = log->speed_runs;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const auto first = static_cast<std::size_t>(std::max(runs[r].first_cell, 0));
        const std::size_t end =
            r + 1 < runs.size() ? static_cast<std::size_t>(std::max(runs[r + 1].first_cell, 0)) : cells;
        for (std::size_t c = first; c < std::min(end, cells); ++c)
            lines[c] = runs[r].line;
    }
    return lines;
}

}  // namespace

std::vector<speed_stretch> permitted_speed(const std::vector<cella>& celle, int64_t length,
                                           const compile_log* log) {
    const std::size_t cells =
        std::min(celle.size(), static_cast<std::size_t>(std::max<int64_t>(0, (length + 49) / 50)));
    std::vector<int> speed(cells);
    std::vector<std::optional<std::size_t>> lowered_by(cells);
    for (std::size_t c = 0; c < cells; ++c)
        speed[c] = cell_speed_kmh(celle[c]);
    // A slowdown covers the cells from its start's item position up to its
    // end's; where two meet, the lower speed holds.
    const std::vector<slowdown> list = slowdowns(celle);
    for (std::size_t k = 0; k < list.size(); ++k) {
        const int v = std::max<int>(0, list[k].speed);
        for (auto c = static_cast<std::size_t>(std::max<int64_t>(0, list[k].from / 50));
             c < cells && static_cast<int64_t>(c) * 50 < list[k].to; ++c) {
            if (v < speed[c]) {
                speed[c] = v;
                lowered_by[c] = k;
            }
        }
    }
    const std::vector<source_place> lines = speed_lines(cells, log);
    std::vector<speed_stretch> out;
    for (std::size_t c = 0; c < cells; ++c) {
        const int64_t from = static_cast<int64_t>(c) * 50;
        const int64_t to = std::min<int64_t>(from + 50, length);
        const int line_kmh = cell_speed_kmh(celle[c]);
        if (!out.empty()) {
            speed_stretch& last = out.back();
            if (last.speed_kmh == speed[c] && last.line_kmh == line_kmh && last.slowdown == lowered_by[c] &&
                same_line(last.line, lines[c])) {
                last.to = to;
                continue;
            }
        }
        out.push_back({from, to, speed[c], line_kmh, lowered_by[c], c, lines[c]});
    }
    return out;
}

std::optional<double> time_at_permitted_speed(const std::vector<speed_stretch>& stretches, int64_t from,
                                              int64_t to) {
    double seconds = 0;
    int64_t covered = 0;
    for (const speed_stretch& s : stretches) {
        const int64_t a = std::max(from, s.from), b = std::min(to, s.to);
        if (a >= b)
            continue;
        if (s.speed_kmh <= 0)
            return std::nullopt;
        seconds += static_cast<double>(b - a) * 3.6 / s.speed_kmh;
        covered += b - a;
    }
    // Beyond the stretches there is no speed at all.
    if (covered < to - from)
        return std::nullopt;
    return seconds;
}

std::vector<speed_board> speed_boards(const std::vector<cella>& celle, const compile_log* log) {
    std::vector<speed_board> list;
    for (std::size_t c = 0; c < celle.size(); ++c) {
        const cella& x = celle[c];
        if (x.tipo != tipo_cella::indicatore_vmax)
            continue;
        speed_board b{c, item_position(c), {}, false};
        if (log != nullptr && c < log->cell_origins.size() &&
            log->cell_origins[c].item == line_item::speed_board) {
            const auto line = fields_of_line(*log, log->cell_origins[c].keyword_field);
            // The keyword, the position, then the eight values.
            if (line.size() >= 10) {
                for (std::size_t k = 0; k < b.values.size(); ++k)
                    b.values[k] = line[k + 2].value;
                b.as_written = true;
            }
        }
        if (!b.as_written) {
            const std::array<int16_t, 3> packed = {x.dato1, x.dato2, x.dato3};
            for (std::size_t k = 0; k < packed.size(); ++k) {
                b.values[k] = packed[k] / 20;
                b.values[k + 4] = packed[k] % 20 * 5;
            }
            b.values[3] = x.dato4 / 10;
            b.values[7] = x.dato4 % 10;
        }
        list.push_back(b);
    }
    return list;
}

}  // namespace scenario::route
