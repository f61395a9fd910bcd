#include "compiler/finishing_sweep.h"

#include "compiler/errors.h"
#include "compiler/provenance.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>

namespace scenario {

namespace {

constexpr error_code errore_segnale_senza_segno = error_code::signal_mark_no_free_cell;
constexpr error_code errore_avvicinamento = error_code::approach_mark_no_free_cell;
constexpr error_code errore_ripetizione = error_code::repeat_mark_no_free_cell;

constexpr int32_t metri_cella = 50;
constexpr int32_t celle_indietro_da_avviso = 20;        // 1000 m looked back from an advance point
constexpr int32_t prima_cella_con_segnale_servito = 3;  // its two front cells must be 1 and 2 at least
constexpr int32_t velocita_senza_ripetizioni = 110;     // slowdowns this fast or faster get no repeat marks
constexpr int32_t passo_ripetizioni = 8;                // 400 m between repeat marks
constexpr int32_t celle_cerca_segnale = 12;             // 600 m past the end searched for a signal

// Approach marks before a slowdown start: the start must lie beyond `oltre`,
// and the mark goes into the first free cell of the three, nearest first.
struct avvicinamento {
    int32_t oltre;
    int32_t distanze[3];
};
constexpr avvicinamento avvicinamenti[] = {
    {7, {5, 6, 7}},      // 250 to 350 m
    {13, {11, 12, 13}},  // 550 to 650 m
    {20, {18, 19, 20}},  // 900 to 1000 m
};

class spazzata {
public:
    spazzata(stato_scenario& s, compile_log* log)
        : s_(s), log_(log), ultima_(static_cast<int32_t>(s.celle.size()) - 1) {}

    void esegui() {
        // The sweep runs to n_celle - 2; the size of the array bounds it too,
        // so a state whose n_celle disagrees with its cells cannot lead outside.
        const int32_t ultima_spazzata = std::min(s_.n_celle, ultima_) - 2;
        for (int32_t i = 1; i <= ultima_spazzata; ++i) {
            if (cella_a(i).tipo == tipo_cella::avviso_rallentamento)
                segnali_dietro_avviso(i);
            if (cella_a(i).tipo == tipo_cella::inizio_rallentamento)
                intorno_a_rallentamento(i);
        }
    }

private:
    bool esiste(int32_t c) const { return c >= 0 && c <= ultima_; }
    cella& cella_a(int32_t c) { return s_.celle[static_cast<std::size_t>(c)]; }
    // A cell outside the route is never free, so nothing is ever marked there.
    bool libera(int32_t c) { return esiste(c) && cella_libera(cella_a(c)); }

    // A mark keeps the origin of the item it serves: the signal or the
    // slowdown start in cell `servita`.
    void segna(int32_t c, int32_t servita) {
        cella_a(c).tipo = tipo_cella::segno;
        cella_a(c).dato1 = valore_segno;
        note_cell_origin(log_, s_.celle.size(), static_cast<std::size_t>(c), cell_origin(log_, servita));
    }

    bool segna_prima_libera(int32_t servita, std::initializer_list<int32_t> candidate) {
        for (int32_t c : candidate) {
            if (libera(c)) {
                segna(c, servita);
                return true;
            }
        }
        return false;
    }

    // Every signal up to 1000 m behind an advance point gets a mark in
    // one of its two front cells, or an existing mark there is lowered to 180.
    void segnali_dietro_avviso(int32_t i) {
        for (int32_t k = 1; k <= celle_indietro_da_avviso; ++k) {
            const int32_t d = i - k;
            if (d < prima_cella_con_segnale_servito)
                break;
            if (cella_a(d).tipo != tipo_cella::segnale)
                continue;
            if (segna_prima_libera(d, {d - 1, d - 2}))
                continue;
            if (abbassa_segno(d - 1) || abbassa_segno(d - 2))
                continue;
            registra_errore_finitura(s_, log_, errore_segnale_senza_segno, d * metri_cella, d);
        }
    }

    bool abbassa_segno(int32_t c) {
        cella& x = cella_a(c);
        if (x.tipo != tipo_cella::segno)
            return false;
        // The result is 180 or the old value: it fits 16 bits.
        x.dato1 = static_cast<int16_t>(minimo<int32_t>(valore_segno, x.dato1));
        return true;
    }

    // Approach marks before a slowdown start, repeat marks inside a
    // slow slowdown and a mark in front of the first signal after its end.
    void intorno_a_rallentamento(int32_t i) {
        for (const avvicinamento& a : avvicinamenti) {
            if (i <= a.oltre)
                continue;
            if (!segna_prima_libera(i, {i - a.distanze[0], i - a.distanze[1], i - a.distanze[2]}))
                registra_errore_finitura(s_, log_, errore_avvicinamento, i * metri_cella, i);
        }

        // The end cell is the first slowdown end after the start. A slowdown
        // whose end does not lie after its start (a length of 0 or less) takes
        // the next one on; when no end follows before the route runs out the
        // slowdown has no stretch of its own, and it gets neither repeat marks
        // nor the mark after its end rather than scans beyond the last cell.
        const int32_t fine = cella_fine_dopo(i);
        if (fine < 0)
            return;
        if (cella_a(i).dato1 < velocita_senza_ripetizioni)
            segni_di_ripetizione(i, fine);
        segno_dopo_la_fine(i, fine);
    }

    int32_t cella_fine_dopo(int32_t i) {
        for (int32_t c = i + 1; c <= ultima_; ++c)
            if (cella_a(c).tipo == tipo_cella::fine_rallentamento)
                return c;
        return -1;
    }

    // Every 8 cells from the start, counted from the mark actually placed; the
    // end cell is examined too. Marks only go into free cells, so the scan
    // meets no other slowdown end before `fine`.
    void segni_di_ripetizione(int32_t i, int32_t fine) {
        int32_t m = 0;
        int32_t k = i;
        do {
            ++k;
            ++m;
            if (m != passo_ripetizioni)
                continue;
            if (libera(k)) {
                segna(k, i);
                m = 0;
            } else if (libera(k - 1)) {
                segna(k - 1, i);
                m = 1;
            } else if (libera(k + 1)) {
                segna(k + 1, i);
                m = -1;
            } else {
                // m stays 8 and only grows from here: no further repeat mark.
                registra_errore_finitura(s_, log_, errore_ripetizione, k * metri_cella, i);
            }
        } while (k < fine);
    }

    // The first signal up to 600 m past the end of the slowdown starting in
    // cell i gets a mark in front of it. The search stops at the last cell of
    // the route.
    void segno_dopo_la_fine(int32_t i, int32_t fine) {
        int32_t m = 0;
        for (int32_t n = fine; n <= fine + celle_cerca_segnale && esiste(n); ++n) {
            if (cella_a(n).tipo == tipo_cella::segnale) {
                m = n - 1;
                break;
            }
        }
        if (m <= 0)
            return;
        if (!segna_prima_libera(i, {m, m - 1}))
            registra_errore_finitura(s_, log_, errore_ripetizione, fine * metri_cella, i);
    }

    stato_scenario& s_;
    compile_log* log_;
    const int32_t ultima_;  // last index of the cells; -1 when there are none
};

}  // namespace

void rifinisci_percorso(stato_scenario& s, compile_log* log) {
    if (!s.celle_esistono())
        return;
    spazzata(s, log).esegui();
}

}  // namespace scenario
