#include "compiler/stations.h"

#include "compiler/errors.h"
#include "compiler/provenance.h"
#include "compiler/run_cells.h"

#include <algorithm>
#include <limits>

namespace scenario {

namespace {

// Kinds 5 and 6: area from L before the station to 150 m after it; a stop
// cell but no markers.
bool area_corta(uint8_t k) {
    return k == 5 || k == 6;
}
// Kinds 7 and 8: area from L before the station to L after it.
bool area_doppia(uint8_t k) {
    return k == 7 || k == 8;
}
// Kinds from 25 up get neither stop cell nor markers.
constexpr uint8_t primo_tipo_senza_fermata = 25;
// An area shorter than this keeps byte5 at 0.
constexpr int32_t area_minima_byte5 = 600;
// Least distance between one station's area end and the next one's start.
constexpr int64_t distanza_minima_aree = 350;
constexpr uint8_t primo_marcatore = 80;

bool in_32_bit(int64_t v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

// Start and end of the station area; L is a multiple of 100 here, so L / 2 is whole.
void calcola_area(int64_t p, int64_t l, uint8_t tipo, bool coda, int64_t& inizio, int64_t& fine) {
    if (area_corta(tipo)) {
        inizio = p - l;
        fine = p + 150;
    } else if (area_doppia(tipo)) {
        inizio = p - l;
        fine = p + l;
    } else {
        inizio = p - l / 2;
        fine = p + l / 2 + (coda ? 50 : 0);
    }
}

}  // namespace

esito_stazione memo_stazione(stato_scenario& s, lettore_campi& lettore, int32_t& contatore,
                             int32_t slot_cartelli, const log_at& at) {
    if (!celle_presenti(s))
        throw errore_lettura("a station line, but the line description gave no route");

    // Station records take slots 1 upward and must stay below the board
    // records (and below the header slots). Checked before anything is read
    // into the slot, so a board text is never overwritten.
    const int32_t limite = std::min(slot_cartelli, prima_voce_cartelli + 1);
    const int32_t i = contatore;
    if (i < 1 || i >= limite) {
        registra_errore(s, at, error_code::too_many_stations);
        return esito_stazione::errore;
    }
    voce& r = s.voci[static_cast<std::size_t>(i)];
    note_record_origin(at, static_cast<std::size_t>(i));

    const int32_t p = lettore.leggi_intero();
    r.valore3 = p;
    if (oltre_fine_percorso(s, p, margine_stazione)) {
        registra_errore(s, at, error_code::beyond_route_end, p);
        return esito_stazione::fuori_percorso;
    }
    if (p % 50 != 0) {
        registra_errore(s, at, error_code::station_position_not_on_50, p);
        return esito_stazione::errore;
    }

    const uint8_t k = lettore.leggi_byte();
    r.tipo = k;
    const int32_t l = lettore.leggi_intero();
    if (l % 100 != 0) {
        registra_errore(s, at, error_code::station_area_not_on_100, p);
        return esito_stazione::errore;
    }

    r.byte1 = lettore.leggi_byte();
    r.byte5 = lettore.leggi_byte();
    r.byte4 = lettore.leggi_byte();
    r.intero1 = lettore.leggi_intero16();
    r.intero2 = lettore.leggi_intero16();
    r.byte2 = lettore.leggi_byte();
    r.intero3 = lettore.leggi_intero16();
    r.intero4 = lettore.leggi_intero16();
    r.intero5 = lettore.leggi_intero16();
    r.byte3 = lettore.leggi_byte();
    const int64_t ore = lettore.leggi_intero();
    const int64_t minuti = lettore.leggi_intero();
    const int64_t secondi = lettore.leggi_intero();
    std::string nome = lettore.leggi_testo();
    if (nome.size() > lunghezza_massima_nome)
        throw errore_lettura("the station name is longer than the 32767 characters the run file can hold");
    r.testo = std::move(nome);
    r.valore4 = basso32(ore * 3600 + minuti * 60 + secondi);

    int64_t inizio = 0;
    int64_t fine = 0;
    calcola_area(p, l, k, r.byte4 != 0, inizio, fine);
    // An area beyond 32 bits cannot be stored: reported as a position outside
    // the route, like a station too close to the end.
    if (!in_32_bit(inizio) || !in_32_bit(fine)) {
        registra_errore(s, at, error_code::beyond_route_end, p);
        return esito_stazione::fuori_percorso;
    }
    r.valore1 = static_cast<int32_t>(inizio);
    r.valore2 = static_cast<int32_t>(fine);
    if (area_corta(k) || area_doppia(k))
        r.byte4 = 0;

    if (l < area_minima_byte5)
        r.byte5 = 0;
    if (i == 1) {
        r.byte5 = 0;
        r.byte4 = 0;
    }

    if (k < primo_tipo_senza_fermata) {
        // The area end is a multiple of 50 (p of 50, L of 100), so these are whole.
        const int64_t fermata = fine / 50 - 1;
        // A stop cell beyond the last cell would leave the train nowhere to
        // stop: reported as a position outside the route before any cell is
        // written. Markers always lie before the stop cell.
        if (fermata > s.n_celle) {
            registra_errore(s, at, error_code::beyond_route_end, p);
            return esito_stazione::fuori_percorso;
        }
        if (!area_corta(k)) {
            for (int32_t m = 1; m <= 4; ++m) {
                const int64_t j = fine / 50 - m - 1;
                if (j > 1)
                    s.celle[static_cast<std::size_t>(j)].dato6 = static_cast<uint8_t>(primo_marcatore + m);
            }
        }
        if (fermata <= 1) {
            // The area end lies within 32 bits: so does the stop cell.
            registra_errore_cella(s, at, error_code::stop_cell_too_early, std::nullopt,
                                  static_cast<int32_t>(fermata));
            return esito_stazione::errore;
        }
        cella& c = s.celle[static_cast<std::size_t>(fermata)];
        c.tipo = tipo_cella::fermata;
        c.dato1 = static_cast<int16_t>(i);
        note_cell_origin(s, at, static_cast<std::size_t>(fermata));
    }

    if (i > 1 &&
        int64_t{r.valore1} - distanza_minima_aree < s.voci[static_cast<std::size_t>(i - 1)].valore2) {
        registra_errore(s, at, error_code::stations_too_close, p);
        return esito_stazione::errore;
    }

    contatore = i + 1;
    if (contatore >= limite) {
        registra_errore(s, at, error_code::too_many_stations);
        return esito_stazione::errore;
    }
    return esito_stazione::registrata;
}

}  // namespace scenario
