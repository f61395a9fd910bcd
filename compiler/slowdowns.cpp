#include "compiler/slowdowns.h"

#include "compiler/errors.h"
#include "compiler/provenance.h"
#include "compiler/run_cells.h"

#include <optional>

namespace scenario {

namespace {

// The cells of a slowdown, absent where they would lie outside the route.
struct celle_rallentamento {
    bool con_avviso = false;             // starts beyond 1500 m
    std::optional<int32_t> avviso;       // W, 1200 m before the start cell
    std::optional<int32_t> inizio;       // S, the cell after the start
    std::optional<int32_t> fine;         // E, the cell after the end
    std::optional<int32_t> approcci[4];  // B, B-1, B-2, B-3: the cells before W
};

celle_rallentamento trova_celle(const stato_scenario& s, const rallentamento& r) {
    const int64_t x = r.x;
    constexpr line_item kind = line_item::slowdown;
    celle_rallentamento k;
    k.con_avviso = r.x > inizio_minimo_avviso;
    k.inizio = cella_del_percorso(s, route::item_cell(kind, x));
    k.fine = cella_del_percorso(s, route::item_cell(kind, x + r.l));
    if (k.con_avviso) {
        k.avviso = cella_del_percorso(s, route::item_cell(kind, x - 1200));
        // B is the cell x - 1200 falls in, not W - 1: the two differ when
        // (x - 1200) / 50 ends in .5.
        const int64_t b = route::item_cell(line_item::abbattimento, x - 1200);
        for (int32_t n = 0; n < 4; ++n)
            k.approcci[n] = cella_del_percorso(s, b - n);
    }
    return k;
}

bool tutte_presenti(const celle_rallentamento& k) {
    if (!k.inizio || !k.fine)
        return false;
    if (!k.con_avviso)
        return true;
    if (!k.avviso)
        return false;
    for (const auto& a : k.approcci)
        if (!a)
            return false;
    return true;
}

}  // namespace

bool rallentamento_nel_percorso(const stato_scenario& s, const rallentamento& r) {
    return tutte_presenti(trova_celle(s, r));
}

void memo_rallentamento(stato_scenario& s, const rallentamento& r, const log_at& at) {
    const celle_rallentamento k = trova_celle(s, r);
    if (!tutte_presenti(k)) {
        registra_errore(s, at, error_code::beyond_route_end, r.x);
        return;
    }
    auto cella_n = [&s](int32_t i) -> cella& { return s.celle[static_cast<std::size_t>(i)]; };
    cella& inizio = cella_n(*k.inizio);
    cella& fine = cella_n(*k.fine);
    // Near the start of the route there is no room for the announcement.
    const int32_t f_ta = k.con_avviso ? r.f_ta : 0;

    if (k.con_avviso && !cella_libera(cella_n(*k.avviso))) {
        registra_errore_cella(s, at, error_code::slowdown_advance_cell_taken, r.x, *k.avviso);
        return;
    }
    if (!cella_libera(inizio)) {
        registra_errore_cella(s, at, error_code::slowdown_start_cell_taken, r.x, *k.inizio);
        return;
    }
    if (!cella_libera(fine)) {
        registra_errore_cella(s, at, error_code::slowdown_end_cell_taken, r.x, *k.fine);
        return;
    }

    // End before start: a zero-length slowdown keeps its start cell.
    fine.tipo = tipo_cella::fine_rallentamento;
    note_cell_origin(s, at, static_cast<std::size_t>(*k.fine));
    if (r.d_v != 0)
        fine.dato2 = basso16(r.d_v);
    inizio.tipo = tipo_cella::inizio_rallentamento;
    note_cell_origin(s, at, static_cast<std::size_t>(*k.inizio));
    if (r.d_v != 0)
        inizio.dato2 = basso16(r.d_v);
    if (k.con_avviso) {
        cella& avviso = cella_n(*k.avviso);
        avviso.tipo = tipo_cella::avviso_rallentamento;
        note_cell_origin(s, at, static_cast<std::size_t>(*k.avviso));
        if (r.d_v != 0)
            avviso.dato2 = basso16(r.d_v);
        avviso.dato1 = basso16(r.v);
    }
    for (cella* c : {&inizio, &fine}) {
        c->dato1 = basso16(r.v);
        c->dato3 = basso16(r.f_tt);
    }

    if (f_ta == 0)
        return;
    for (const auto& a : k.approcci) {
        if (!cella_libera(cella_n(*a))) {
            registra_errore_cella(s, at, error_code::slowdown_approach_cell_taken, r.x, *a);
            return;
        }
    }
    // Counters 1..4 going back from the cell next to the advance cell.
    for (int32_t n = 0; n < 4; ++n) {
        cella& c = cella_n(*k.approcci[n]);
        c.tipo = tipo_cella::approccio_rallentamento;
        note_cell_origin(s, at, static_cast<std::size_t>(*k.approcci[n]));
        c.dato1 = static_cast<int16_t>(n + 1);
        if (r.d_v != 0)
            c.dato2 = static_cast<int16_t>(n + 1);
    }
}

}  // namespace scenario
