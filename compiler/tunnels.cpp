// Tunnels: their class in every cell they cover, and the lamp marks of long tunnels.
#include "compiler/cell_rules.h"
#include "compiler/line_reader.h"
#include "compiler/provenance.h"

namespace scenario {

namespace {
// Class given to a tunnel that begins 150 m or less after the previous one ends.
constexpr int32_t classe_galleria_ravvicinata = 3;
constexpr int64_t distanza_ravvicinata = 150;
// A class above this marks a long tunnel; the class is what lies above it.
constexpr int32_t soglia_galleria_lunga = 10;
// Every 4th cell of a long tunnel carries a lamp mark.
constexpr int32_t passo_lampade = 4;
}  // namespace

void memo_montagna(stato_scenario& s, int32_t inizio, int32_t fine, int32_t tipo, const log_at& at) {
    using namespace lettura_linea;
    // Everything is checked before anything is recorded.
    if (s.n_montagne >= massimo_montagne)
        throw errore_lettura("more than the 80 tunnels the route can hold");
    if (inizio < 0)
        throw errore_lettura("the tunnel starts before the start of the route");
    const int64_t prima = route::item_cell(line_item::tunnel, inizio);
    const int64_t ultima = route::tunnel_last_cell(fine);
    const int64_t ultima_cella = int64_t(s.celle.size()) - 1;
    if (ultima >= prima && ultima > ultima_cella)
        throw errore_lettura("the tunnel ends beyond the end of the route (its length plus 7000 m)");

    bool lunga = false;
    if (tipo > soglia_galleria_lunga) {
        tipo -= soglia_galleria_lunga;
        lunga = true;
    }
    s.n_montagne += 1;
    s.montagna_inizio[std::size_t(s.n_montagne)] = inizio;
    s.montagna_fine[std::size_t(s.n_montagne)] = fine;
    if (s.n_montagne > 1 &&
        int64_t(inizio) - s.montagna_fine[std::size_t(s.n_montagne - 1)] <= distanza_ravvicinata)
        tipo = classe_galleria_ravvicinata;

    int32_t conta = 0;
    for (int64_t i = prima; i <= ultima; ++i) {
        cella& c = s.celle[std::size_t(i)];
        c.galleria = basso8(tipo);
        ++conta;
        if (lunga && conta % passo_lampade == 0 && c.tipo == tipo_cella::libera) {
            c.tipo = tipo_cella::lampada_galleria;
            note_cell_origin(s, at, std::size_t(i));
        }
    }
}

}  // namespace scenario
