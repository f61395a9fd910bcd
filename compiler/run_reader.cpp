// The run phase of memorizza_dati: reads the run description (train make-up,
// sand, clock, speed and adhesion profiles, stations, slowdowns, signals and
// abbattimento points) into the cells and records that the line phase left.
//
// Choices for input that cannot be placed (nothing is ever written outside
// `celle` or `voci`):
// - no route cells (the line phase never sized them): any positioned line, and
//   the profile fills at the end of the file, are read failures (error 25);
// - a signal, slowdown or abbattimento point whose own cell lies before cell 0
//   (a negative position), or a slowdown whose end cell lies beyond the last
//   cell: error 15 at the line's position, like a position too close to the
//   end; the reader stops and still finishes the file;
// - signal markers that would fall before cell 0 are left out (signals within
//   400 m of the start), the signal itself is placed;
// - stations: see memo_stazione (too many stations for the free slots: error
//   10 before the slot is touched; a stop cell beyond the last cell, or an area
//   beyond 32 bits: error 15; a name longer than the run file can hold: error 25);
// - profile lines at negative positions fill nothing and only set the value
//   that follows;
// - cells before a profile's first line take that line's value.
#include "compiler/errors.h"
#include "compiler/field_reader.h"
#include "compiler/keywords.h"
#include "compiler/provenance.h"
#include "compiler/read_sources.h"
#include "compiler/run_cells.h"
#include "compiler/signals.h"
#include "compiler/slowdowns.h"
#include "compiler/stations.h"
#include "compiler/text_case.h"
#include "compiler/warnings.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

namespace {

bool contiene(std::string_view testo, std::string_view parola) {
    return testo.find(parola) != std::string_view::npos;
}

// What the reader does after a line.
enum class seguito {
    prosegui,      // next keyword field
    finisci_file,  // leave the loop; the end-of-file steps still run (error 15)
    esci,          // the run description is already deleted: return at once
};

// A profile along the route. Cells before `indice` have their value; the
// cells from `indice` on get `in_sospeso` when the next line, or the end of
// the file, closes the stretch.
struct profilo {
    int32_t indice = 0;
    std::optional<int32_t> in_sospeso;  // none before the first line
    source_place riga{};                // the line that gave `in_sospeso`
    int32_t posizione = 0;              // and its position
};

// A line at cell `c` that does not come after the profile's line before it.
void annota_ordine(const log_at& at, const profilo& p, int32_t posizione, int32_t c, line_item kind) {
    if (c <= route::item_cell(kind, p.posizione))
        note_profile_order(at, posizione, p.riga, p.posizione, p.indice);
}

// A speed limit in km/h as stored: a fifth, rounded half to even, 0..255.
uint8_t quinto_velocita(int32_t v, const source_place& riga) {
    const double r = std::nearbyint(static_cast<double>(v) / 5.0);
    if (!(r >= 0.0 && r <= 255.0))
        throw errore_lettura("a speed limit does not fit the cell (0 to 1275 km/h)", riga);
    return static_cast<uint8_t>(r);
}

class fase_corsa {
public:
    fase_corsa(stato_scenario& s, archivio_sorgenti& sorgenti, std::string_view testo, int32_t slot_cartelli,
               log_at& at, bool record_fields)
        : s_(s),
          sorgenti_(sorgenti),
          lettore_(testo, record_fields && at.log != nullptr ? &at.log->fields : nullptr,
                   sorgente_testo::corsa),
          at_(at),
          slot_cartelli_(slot_cartelli) {}

    void esegui();

private:
    bool leggi_parola_chiave();
    seguito interpreta();
    seguito esegui(keyword id);
    void finisci_file();

    seguito massa_frenata();
    seguito vetture();
    seguito velocita();
    seguito aderenza();
    seguito orologio();
    seguito sabbia();
    seguito segnale_linea();
    seguito rallentamento_linea();
    seguito abbattimento();
    seguito stazione();

    void richiedi_celle() const;
    seguito fuori_percorso(int32_t posizione);
    seguito dopo_chiamata(int32_t posizione);
    cella& cella_n(int32_t i) { return s_.celle[static_cast<std::size_t>(i)]; }
    // Notes the line whose speed the cells from `p.indice` on are about to take.
    void annota_velocita(const profilo& p) const {
        if (at_.log != nullptr)
            at_.log->speed_runs.push_back({p.indice, p.in_sospeso ? p.riga : source_place{}});
    }

    stato_scenario& s_;
    archivio_sorgenti& sorgenti_;
    lettore_campi lettore_;
    log_at& at_;  // the line being read
    int32_t slot_cartelli_;
    int32_t contatore_stazioni_ = 1;
    profilo velocita_;
    profilo aderenza_;
};

void fase_corsa::esegui() {
    // Everything up to and including the first field holding "[generale]".
    do {
        s_.campo = lettore_.leggi_parola_chiave();
    } while (!contiene(lower_ascii(s_.campo), general_header) && !lettore_.fine());
    if (contiene(lower_ascii(s_.campo), general_header))
        lettore_.open_section(source_section::run);

    while (!lettore_.fine()) {
        if (!leggi_parola_chiave())
            break;
        const seguito sg = interpreta();
        if (sg == seguito::finisci_file)
            break;
        if (sg == seguito::esci) {
            at_.place = {};
            return;
        }
    }
    finisci_file();
}

// Reads the next keyword field into `campo`; a field holding "-" is replaced
// by the next one, at most twice. False when a read reached the end of the
// file: the field in hand is then not interpreted.
bool fase_corsa::leggi_parola_chiave() {
    s_.campo = lettore_.leggi_parola_chiave();
    if (lettore_.fine())
        return false;
    for (int n = 0; n < 2 && contiene(s_.campo, "-"); ++n) {
        s_.campo = lettore_.leggi_parola_chiave();
        if (lettore_.fine())
            return false;
    }
    return true;
}

// Every keyword the field contains runs its line, in the table's order, until
// one stops the reading.
seguito fase_corsa::interpreta() {
    at_.place = {true, sorgente_testo::corsa, lettore_.riga(), line_item::none, lettore_.last_record()};
    const std::string campo = lower_ascii(s_.campo);
    for (const keyword_row& row : run_keywords()) {
        if (!row.matches(s_.campo, campo, true))
            continue;
        at_.place.item = row.item;
        note_keyword_read(at_, row);
        const seguito sg = esegui(row.id);
        if (sg != seguito::prosegui)
            return sg;
    }
    return seguito::prosegui;
}

seguito fase_corsa::esegui(keyword id) {
    switch (id) {
        case keyword::braked_mass:
            return massa_frenata();
        case keyword::coaches:
            return vetture();
        case keyword::speed_limit:
            return velocita();
        case keyword::adhesion:
            return aderenza();
        case keyword::clock:
            return orologio();
        case keyword::sand:
            return sabbia();
        case keyword::signal:
            return segnale_linea();
        case keyword::slowdown:
            return rallentamento_linea();
        case keyword::abbattimento:
            return abbattimento();
        case keyword::station:
            return stazione();
        default:
            return seguito::prosegui;
    }
}

void fase_corsa::richiedi_celle() const {
    if (!celle_presenti(s_))
        throw errore_lettura("a line with a position, but the line description gave no route");
}

seguito fase_corsa::fuori_percorso(int32_t posizione) {
    registra_errore(s_, at_, error_code::beyond_route_end, posizione);
    return seguito::finisci_file;
}

// After a signal or slowdown: any pending error stops the reading, also an
// error 15 the line phase left; the line's position goes with it.
seguito fase_corsa::dopo_chiamata(int32_t posizione) {
    if (s_.codice_errore <= 0)
        return seguito::prosegui;
    sorgenti_.elimina(sorgente_testo::corsa);
    imposta_posizione_errore(s_, at_, posizione);
    return seguito::esci;
}

seguito fase_corsa::massa_frenata() {
    s_.voci[voce_treno].valore1 = lettore_.leggi_intero();
    return seguito::prosegui;
}

seguito fase_corsa::vetture() {
    s_.voci[voce_treno].valore3 = lettore_.leggi_intero();
    return seguito::prosegui;
}

seguito fase_corsa::velocita() {
    const int32_t p = lettore_.leggi_intero();
    const int32_t v = lettore_.leggi_intero();
    richiedi_celle();
    if (oltre_fine_percorso(s_, p, margine_riga))
        return fuori_percorso(p);
    // The bound test keeps the cell of p at most n_celle - 2.
    const auto c = static_cast<int32_t>(route::item_cell(line_item::speed_limit, p));
    const bool dopo_altra = velocita_.in_sospeso.has_value();
    if (!velocita_.in_sospeso) {
        velocita_.in_sospeso = v;
        velocita_.riga = at_.place;
    }
    if (c > 0 && velocita_.indice < c && velocita_.indice < s_.n_celle) {
        const uint8_t valore = quinto_velocita(*velocita_.in_sospeso, velocita_.riga);
        annota_velocita(velocita_);
        for (; velocita_.indice < c && velocita_.indice < s_.n_celle; ++velocita_.indice)
            cella_n(velocita_.indice).velocita = valore;
    }
    if (dopo_altra)
        annota_ordine(at_, velocita_, p, c, line_item::speed_limit);
    velocita_.in_sospeso = v;
    velocita_.riga = at_.place;
    velocita_.posizione = p;
    return seguito::prosegui;
}

seguito fase_corsa::aderenza() {
    const int32_t p = lettore_.leggi_intero();
    const int32_t a = lettore_.leggi_intero();
    richiedi_celle();
    if (oltre_fine_percorso(s_, p, margine_riga))
        return fuori_percorso(p);
    const auto c = static_cast<int32_t>(route::item_cell(line_item::adhesion, p));
    const bool dopo_altra = aderenza_.in_sospeso.has_value();
    if (!aderenza_.in_sospeso) {
        aderenza_.in_sospeso = a;
        aderenza_.riga = at_.place;
    }
    if (c > 0) {
        const uint8_t valore = basso8(*aderenza_.in_sospeso);
        for (; aderenza_.indice < c && aderenza_.indice <= s_.n_celle; ++aderenza_.indice)
            cella_n(aderenza_.indice).aderenza = valore;
    }
    if (dopo_altra)
        annota_ordine(at_, aderenza_, p, c, line_item::adhesion);
    aderenza_.in_sospeso = a;
    aderenza_.riga = at_.place;
    aderenza_.posizione = p;
    return seguito::prosegui;
}

seguito fase_corsa::orologio() {
    voce& v = s_.voci[voce_identita_treno];
    v.intero3 = lettore_.leggi_intero16();
    v.intero4 = lettore_.leggi_intero16();
    v.intero5 = lettore_.leggi_intero16();
    return seguito::prosegui;
}

seguito fase_corsa::sabbia() {
    s_.voci[voce_identita_treno].intero1 = lettore_.leggi_intero16();
    return seguito::prosegui;
}

seguito fase_corsa::segnale_linea() {
    segnale g;
    for (int32_t* campo :
         {&g.posizione, &g.sx, &g.s1, &g.s2, &g.s3, &g.rapp, &g.dx, &g.d1, &g.d2, &g.d3, &g.tempo})
        *campo = lettore_.leggi_intero();
    richiedi_celle();
    if (oltre_fine_percorso(s_, g.posizione, margine_riga) || !segnale_nel_percorso(s_, g.posizione))
        return fuori_percorso(g.posizione);
    memo_segnale(s_, g, at_);
    return dopo_chiamata(g.posizione);
}

seguito fase_corsa::rallentamento_linea() {
    rallentamento r;
    for (int32_t* campo : {&r.x, &r.v, &r.l, &r.f_tt, &r.f_ta, &r.d_v})
        *campo = lettore_.leggi_intero();
    richiedi_celle();
    if (oltre_fine_percorso(s_, r.x, margine_riga) || !rallentamento_nel_percorso(s_, r))
        return fuori_percorso(r.x);
    memo_rallentamento(s_, r, at_);
    return dopo_chiamata(r.x);
}

// An abbattimento point stands in the cell that contains its position.
seguito fase_corsa::abbattimento() {
    const int32_t p = lettore_.leggi_intero();
    const int32_t n = lettore_.leggi_intero();
    richiedi_celle();
    if (oltre_fine_percorso(s_, p, margine_riga))
        return fuori_percorso(p);
    const auto c = cella_del_percorso(s_, route::item_cell(line_item::abbattimento, p));
    if (!c)
        return fuori_percorso(p);
    cella& cl = cella_n(*c);
    if (!cella_libera(cl)) {
        sorgenti_.elimina(sorgente_testo::corsa);
        registra_errore_cella(s_, at_, error_code::abbattimento_cell_taken, p, *c);
        return seguito::esci;
    }
    if (n > 0) {
        cl.tipo = tipo_cella::segno;
        cl.dato1 = basso16(n);
    } else {
        cl.tipo = tipo_cella::abbattimento_senza_valore;
    }
    note_cell_origin(s_, at_, static_cast<std::size_t>(*c));
    return seguito::prosegui;
}

seguito fase_corsa::stazione() {
    switch (memo_stazione(s_, lettore_, contatore_stazioni_, slot_cartelli_, at_)) {
        case esito_stazione::registrata:
            return seguito::prosegui;
        case esito_stazione::fuori_percorso:
            return seguito::finisci_file;
        case esito_stazione::errore:
            break;
    }
    sorgenti_.elimina(sorgente_testo::corsa);
    return seguito::esci;
}

// The end of the file, also reached after error 15: the source goes, both
// profiles run on with their last value up to cell n_celle - 3 (at least one
// cell each), and the kilometric progressives must lie on 50 m steps.
void fase_corsa::finisci_file() {
    sorgenti_.elimina(sorgente_testo::corsa);
    at_.place = {};
    richiedi_celle();

    const uint8_t v = quinto_velocita(velocita_.in_sospeso.value_or(0), velocita_.riga);
    if (velocita_.indice <= s_.n_celle)
        annota_velocita(velocita_);
    do {
        if (velocita_.indice > s_.n_celle)
            break;
        cella_n(velocita_.indice).velocita = v;
        ++velocita_.indice;
    } while (velocita_.indice < s_.n_celle - 2);

    const uint8_t a = basso8(aderenza_.in_sospeso.value_or(0));
    do {
        if (aderenza_.indice > s_.n_celle)
            break;
        cella_n(aderenza_.indice).aderenza = a;
        ++aderenza_.indice;
    } while (aderenza_.indice < s_.n_celle - 2);

    for (int slot : {voce_progressiva_tre, voce_progressiva_due, voce_progressiva_uno}) {
        const voce& pr = s_.voci[static_cast<std::size_t>(slot)];
        if (pr.valore1 % 50 != 0 || pr.valore2 % 50 != 0) {
            // Found after reading: the line behind it is the one the progressive came from.
            const source_place origin =
                at_.log != nullptr ? at_.log->record_origins[static_cast<std::size_t>(slot)] : source_place{};
            registra_errore(s_, log_at{at_.log, origin}, error_code::progressive_not_on_50);
            break;
        }
    }
}

}  // namespace

void leggi_descrizione_corsa(stato_scenario& s, archivio_sorgenti& sorgenti, int32_t slot_cartelli,
                             log_at& at, bool record_fields) {
    at.place = {};
    const std::optional<std::string> testo = sorgenti.leggi(sorgente_testo::corsa);
    if (!testo)
        throw errore_lettura("the run description is missing or cannot be read");
    fase_corsa(s, sorgenti, *testo, slot_cartelli, at, record_fields).esegui();
}

}  // namespace scenario
