// Boards along the line: maximum-speed boards and tunnel-name boards. Both
// stand in the cell after their position and need that cell free.
#include "compiler/cell_rules.h"
#include "compiler/errors.h"
#include "compiler/line_reader.h"
#include "compiler/provenance.h"

#include <limits>

namespace scenario {

namespace {
using namespace lettura_linea;

// Longest board text: the run file stores a text's length in 16 bits.
constexpr std::size_t lunghezza_massima_testo = std::numeric_limits<int16_t>::max();

// The cell a board at `posizione` stands in: the one after the cell holding it.
// Throws when that is not a cell of the route (a negative position among them).
std::size_t cella_cartello(const stato_scenario& s, int32_t posizione, line_item tipo) {
    if (posizione < 0)
        throw errore_lettura("the board lies before the start of the route");
    const int64_t c = route::item_cell(tipo, posizione);
    if (c >= int64_t(s.celle.size()))
        throw errore_lettura("the board's cell lies beyond the end of the route");
    return std::size_t(c);
}

// A speed pair packed into one 16-bit value: the first speed (km/h) counts 20
// per unit, the second is stored divided by 5. Throws when it does not fit.
int16_t coppia_velocita(int32_t primo, int32_t secondo) {
    const double v = arrotonda(secondo / 5.0 + 20.0 * primo);
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        throw errore_lettura(
            "a speed pair does not fit 16 bits (20 times the first speed plus a fifth of the second, -32768 "
            "to 32767)");
    return int16_t(v);
}

// The stripe values packed as 10 * left + right, in 16-bit arithmetic that
// wraps, as the cell field keeps it.
int16_t strisce16(int32_t strisces, int32_t strisced) {
    return basso16(10 * int64_t(basso16(strisces)) + basso16(strisced));
}
}  // namespace

bool memo_indicatori_v_max(stato_scenario& s, int32_t posizione, int32_t vas, int32_t vbs, int32_t vcs,
                           int32_t strisces, int32_t vad, int32_t vbd, int32_t vcd, int32_t strisced,
                           const log_at& at) {
    const std::size_t i = cella_cartello(s, posizione, line_item::speed_board);
    if (!cella_libera(s.celle[i])) {
        registra_errore_cella(s, at, error_code::speed_board_cell_taken, posizione, int32_t(i));
        return false;
    }
    const int16_t a = coppia_velocita(vas, vad);
    const int16_t b = coppia_velocita(vbs, vbd);
    const int16_t c = coppia_velocita(vcs, vcd);
    cella& cc = s.celle[i];
    cc.tipo = tipo_cella::indicatore_vmax;
    cc.dato1 = a;
    cc.dato2 = b;
    cc.dato3 = c;
    cc.dato4 = strisce16(strisces, strisced);
    note_cell_origin(s, at, i);
    return true;
}

bool memo_cartello_galleria(stato_scenario& s, int32_t posizione, const std::string& testo, int32_t slot,
                            const log_at& at) {
    const std::size_t i = cella_cartello(s, posizione, line_item::tunnel_board);
    if (!cella_libera(s.celle[i])) {
        registra_errore_cella(s, at, error_code::tunnel_board_cell_taken, posizione, int32_t(i));
        return false;
    }
    if (slot < 1 || slot > prima_voce_cartelli)
        throw errore_lettura("more than the 80 tunnel-name boards the run file can hold");
    if (testo.size() > lunghezza_massima_testo)
        throw errore_lettura("the board text is longer than the 32767 characters the run file can hold");
    cella& c = s.celle[i];
    c.tipo = tipo_cella::cartello_galleria;
    c.dato1 = int16_t(slot);
    s.voci[std::size_t(slot)].testo = testo;
    note_cell_origin(s, at, i);
    note_record_origin(at, std::size_t(slot));
    return true;
}

}  // namespace scenario
