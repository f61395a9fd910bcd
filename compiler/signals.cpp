#include "compiler/signals.h"

#include "compiler/errors.h"
#include "compiler/provenance.h"
#include "compiler/run_cells.h"

namespace scenario {

namespace {
std::optional<int32_t> cella_segnale(const stato_scenario& s, int32_t posizione) {
    return cella_del_percorso(s, route::item_cell(line_item::signal, posizione));
}

// A signal time from 1 to 100 is stored as 101; 0 means no time.
constexpr int32_t tempo_minimo = 101;
}  // namespace

bool segnale_nel_percorso(const stato_scenario& s, int32_t posizione) {
    return cella_segnale(s, posizione).has_value();
}

void memo_segnale(stato_scenario& s, segnale& g, const log_at& at) {
    const auto indice = cella_segnale(s, g.posizione);
    if (!indice) {
        registra_errore(s, at, error_code::beyond_route_end, g.posizione);
        return;
    }
    cella& c = s.celle[static_cast<std::size_t>(*indice)];
    if (!cella_libera(c)) {
        registra_errore_cella(s, at, error_code::signal_cell_taken, g.posizione, *indice);
        return;
    }

    c.tipo = tipo_cella::segnale;
    note_cell_origin(s, at, static_cast<std::size_t>(*indice));
    c.dato4 = basso16(int64_t{g.rapp} * 10 + int64_t{g.sx} * 3 + g.dx);
    c.dato1 = basso16(int64_t{g.s1} * 10 + g.d1);
    c.dato2 = basso16(int64_t{g.s2} * 10 + g.d2);
    c.dato3 = basso16(int64_t{g.s3} * 10 + g.d3);

    if (g.tempo >= 1 && g.tempo < tempo_minimo)
        g.tempo = tempo_minimo;
    c.dato5 = g.sx == 2 ? basso8(g.tempo) : uint8_t{0};

    // Markers 1..4 counting away from the signal. A signal within 400 m of the
    // start of the route has fewer: markers that would fall before cell 0 are
    // left out, the signal itself stays meaningful without them.
    const int64_t base_marcatore = (int64_t{g.sx} * 3 + g.dx) * 10;
    for (int32_t k = 1; k <= 4; ++k) {
        const int32_t j = *indice - 2 * k;
        if (j < 0)
            break;
        s.celle[static_cast<std::size_t>(j)].dato6 = basso8(base_marcatore + k);
    }
}

}  // namespace scenario
