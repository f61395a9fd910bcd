#include "compiler/route_facts.h"

#include "compiler/line_reader.h"

#include <algorithm>
#include <array>
#include <set>

namespace scenario::route {

int64_t route_length(const std::vector<cella>& celle, const records& voci) {
    const int64_t read = length_read(voci);
    if (read > 0)
        return read;
    if (celle.empty())
        return 0;
    return std::max<int64_t>(0, (static_cast<int64_t>(celle.size()) - 1) * 50 - margine_percorso);
}

int first_speed_limit(const std::vector<cella>& celle) {
    for (const cella& c : celle)
        if (c.velocita != 0)
            return cell_speed_kmh(c);
    return 0;
}

std::vector<int> station_slots(const std::vector<cella>& celle, const records& voci, const compile_log* log) {
    std::vector<int> slots;
    if (log != nullptr) {
        for (int i = 1; i <= prima_voce_cartelli; ++i) {
            const source_place& o = log->record_origins[static_cast<std::size_t>(i)];
            if (o.known && o.item == line_item::station)
                slots.push_back(i);
        }
        return slots;
    }
    std::set<int> boards;
    for (const cella& c : celle)
        if (c.tipo == tipo_cella::cartello_galleria)
            boards.insert(c.dato1);
    for (int i = 1; i <= prima_voce_cartelli; ++i) {
        if (boards.count(i))
            continue;
        const voce& v = voci[static_cast<std::size_t>(i)];
        if (v.testo.empty() && v.tipo == 0 && v.valore1 == 0 && v.valore2 == 0 && v.valore3 == 0 &&
            v.valore4 == 0 && v.byte3 == 0)
            break;
        slots.push_back(i);
    }
    return slots;
}

std::vector<station> stations(const std::vector<cella>& celle, const records& voci, const compile_log* log) {
    const std::vector<int> slots = station_slots(celle, voci, log);
    // The first stop cell of each record, in one pass over the cells.
    std::array<std::optional<std::size_t>, numero_voci> stop_cells{};
    for (std::size_t c = 0; c < celle.size(); ++c) {
        const int16_t slot = celle[c].dato1;
        if (celle[c].tipo == tipo_cella::fermata && slot >= 0 && slot < numero_voci &&
            !stop_cells[static_cast<std::size_t>(slot)])
            stop_cells[static_cast<std::size_t>(slot)] = c;
    }
    std::vector<station> list;
    for (std::size_t n = 0; n < slots.size(); ++n) {
        const voce& r = voci[static_cast<std::size_t>(slots[n])];
        station st;
        st.slot = slots[n];
        st.position = station_position(r);
        st.area_from = area_start(r);
        st.area_to = area_end(r);
        st.kind = station_kind(r);
        st.dwell = station_dwell(r);
        st.name = r.testo;
        st.stop_cell = stop_cells[static_cast<std::size_t>(slots[n])];
        const int32_t time = station_time(r);
        if (time > 0) {
            if (n + 1 == slots.size()) {
                st.arrival = time;
            } else {
                st.departure = time;
                if (n > 0 && st.dwell > 0)
                    st.arrival = time - st.dwell;
            }
        }
        list.push_back(std::move(st));
    }
    return list;
}

std::vector<signal> signals(const std::vector<cella>& celle) {
    std::vector<signal> list;
    for (std::size_t c = 0; c < celle.size(); ++c)
        if (celle[c].tipo == tipo_cella::segnale)
            list.push_back({c, item_position(c)});
    return list;
}

std::size_t slowdown_end(const std::vector<cella>& celle, std::size_t start) {
    for (std::size_t e = start + 1; e < celle.size(); ++e)
        if (celle[e].tipo == tipo_cella::fine_rallentamento)
            return e;
    return start;
}

std::vector<slowdown> slowdowns(const std::vector<cella>& celle) {
    std::vector<slowdown> list;
    for (std::size_t c = 0; c < celle.size(); ++c) {
        if (celle[c].tipo != tipo_cella::inizio_rallentamento)
            continue;
        const std::size_t e = slowdown_end(celle, c);
        slowdown r{c, e, item_position(c), item_position(e), celle[c].dato1, {}, {}};
        constexpr std::size_t advance_before = 24, approach_count = 4;
        if (c >= advance_before && celle[c - advance_before].tipo == tipo_cella::avviso_rallentamento) {
            const std::size_t w = c - advance_before;
            r.advance_cell = w;
            for (std::size_t k = 1; k <= approach_count && k <= w; ++k)
                if (celle[w - k].tipo == tipo_cella::approccio_rallentamento)
                    r.approach_cells.push_back(w - k);
        }
        list.push_back(std::move(r));
    }
    return list;
}

std::vector<tunnel> tunnels(const std::vector<cella>& celle, int64_t length) {
    std::vector<tunnel> list;
    for (std::size_t c = 0; c < celle.size() && static_cast<int64_t>(c) * 50 < length; ++c) {
        const uint8_t g = celle[c].galleria;
        if (g == 0)
            continue;
        const int64_t from = static_cast<int64_t>(c) * 50;
        if (!list.empty() && list.back().to == from)
            list.back().to = from + 50;
        else
            list.push_back({from, from + 50, g});
    }
    return list;
}

std::vector<board> tunnel_boards(const std::vector<cella>& celle, const records& voci) {
    std::vector<board> list;
    for (std::size_t c = 0; c < celle.size(); ++c) {
        const cella& x = celle[c];
        const std::optional<int> slot = record_of_cell(x);
        if (x.tipo == tipo_cella::cartello_galleria && slot)
            list.push_back({c, item_position(c), *slot, voci[static_cast<std::size_t>(*slot)].testo});
    }
    return list;
}

std::optional<cell_kind_words> cell_kind(uint8_t tipo) {
    switch (tipo) {
        case tipo_cella::libera:
            return cell_kind_words{"free cell", "an item"};  // a free cell that holds a value
        case tipo_cella::segnale:
            return cell_kind_words{"signal", "a signal"};
        case tipo_cella::fine_rallentamento:
            return cell_kind_words{"slowdown end", "the end of a slowdown"};
        case tipo_cella::inizio_rallentamento:
            return cell_kind_words{"slowdown start", "the start of a slowdown"};
        case tipo_cella::avviso_rallentamento:
            return cell_kind_words{"slowdown advance cell", "the advance point of a slowdown"};
        case tipo_cella::approccio_rallentamento:
            return cell_kind_words{"slowdown approach cell", "an approach cell of a slowdown"};
        case tipo_cella::indicatore_vmax:
            return cell_kind_words{"maximum-speed board", "a maximum-speed board"};
        case tipo_cella::fermata:
            return cell_kind_words{"station stop cell", "a station stop"};
        case tipo_cella::lampada_galleria:
            return cell_kind_words{"tunnel lamp mark", "a tunnel lamp mark"};
        case tipo_cella::segno:
            return cell_kind_words{"mark (abbattimento point with a value)",
                                   "an abbattimento point or a mark"};
        case tipo_cella::abbattimento_senza_valore:
            return cell_kind_words{"abbattimento point without a value", "an abbattimento point"};
        case tipo_cella::cartello_galleria:
            return cell_kind_words{"tunnel-name board", "a tunnel-name board"};
        default:
            return std::nullopt;
    }
}

int64_t line_read_to(const std::vector<cella>& celle, const tracciato_linea& t, int64_t length) {
    int64_t written = 0;
    for (std::size_t c = 0; c < celle.size(); ++c)
        if (celle[c].pendenza != 0)
            written = static_cast<int64_t>(c) * 50 + 50;
    int64_t to = std::min(length, written);
    if (t.esiste())
        to = std::min(to, std::max<int64_t>(0, last_plan_point(t)));
    return to;
}

int64_t last_plan_point(const tracciato_linea& t) {
    if (!t.esiste())
        return -1;
    // A plan without its points knows how far its runs went.
    if (!t.keep_points)
        return !t.runs.empty() ? t.runs.back().last : t.started ? std::min(1, t.ultimo_punto) : -1;
    int64_t last = t.ultimo_punto;
    while (last >= 0 && t.at(static_cast<int32_t>(last), 0).tipo == valore_tracciato::etichetta::vuoto &&
           t.at(static_cast<int32_t>(last), 1).tipo == valore_tracciato::etichetta::vuoto)
        --last;
    return last;
}

std::size_t cells_for_plan_points(std::size_t points) {
    if (points == 0)
        return 0;
    return static_cast<std::size_t>(lettura_linea::ultima_cella(static_cast<int32_t>(points - 1))) + 1;
}

}  // namespace scenario::route
