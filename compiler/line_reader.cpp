// The line description reader: the header search, the general section, the
// body of positioned lines and the end-of-file fills.
//
// Input the format leaves open, and what the reader does with it (it never
// writes outside `celle`, `tracciato`, `voci`, `montagna_inizio`, `montagna_fine`):
// - a route length below 0: read failure (error 25); above 1000000: error 1;
// - no route length before the body: read failure, whether or not positioned
//   lines follow (neither the cells nor the plan exist);
// - a line whose position lies too close to the end of the route: error 15,
//   reading stops as at the end of the file and the run description follows;
// - a tunnel starting before the route, ending beyond the last cell, or an 81st
//   tunnel: read failure;
// - a board (either kind) at a negative position: read failure;
// - more tunnel-name boards than free slots (the next slot would be below 1,
//   among the stations): read failure;
// - a board text longer than 32767 bytes (the run file keeps 16-bit lengths):
//   read failure;
// - a curve starting or ending beyond the last point of the plan: read failure
//   (ending exactly on the last point is accepted);
// - gradient lines out of order that would fill beyond the last cell: read failure;
// - a speed board value beyond 16 bits, a number beyond 32 bits, reading past the
//   end: read failure. Binary bytes are just bytes of unknown fields.
#include "compiler/line_reader.h"

#include "compiler/errors.h"
#include "compiler/keywords.h"
#include "compiler/read_sources.h"
#include "compiler/run_cells.h"
#include "compiler/text_case.h"
#include "compiler/track_plan.h"
#include "compiler/warnings.h"

namespace scenario {

namespace {
using namespace lettura_linea;

constexpr int sostituzioni_corpo = 2;  // "-" fields replaced in a row in the body

// The body: positioned lines in any order, then the fills to the end of the route.
class lettore_corpo {
public:
    lettore_corpo(stato_scenario& s, lettore_campi& lettore, log_at& at)
        : s_(s), lettore_(lettore), at_(at) {}

    esito_sezione leggi();
    void completa();
    esito_sezione esegui(keyword id, const std::string& parola);
    int32_t slot_cartelli() const { return b_; }

private:
    bool posizione_accettata(int32_t p);
    void scrivi_pendenza();
    esito_sezione pendenza();
    esito_sezione curva(const std::string& parola);
    esito_sezione montagna();
    esito_sezione indicatori_v_max();
    esito_sezione cartello();

    stato_scenario& s_;
    lettore_campi& lettore_;
    log_at& at_;                       // the line being read
    int32_t f_ = 0;                    // gradient fill index: first cell not yet given a gradient
    int32_t g0_ = 0;                   // gradient of the stretch being filled
    int32_t w_ = 2;                    // first plan point not yet computed
    int32_t b_ = prima_voce_cartelli;  // slot of the next tunnel-name board
    // The gradient line before, to tell the author of lines out of order.
    source_place previous_line_{};
    int32_t previous_position_ = 0;
};

esito_sezione lettore_corpo::leggi() {
    for (;;) {
        if (lettore_.fine())
            return esito_sezione::avanti;
        leggi_parola_chiave(s_, lettore_, at_);
        if (lettore_.fine())
            return esito_sezione::avanti;
        for (int n = 0; n < sostituzioni_corpo && contiene(s_.campo, "-"); ++n) {
            leggi_parola_chiave(s_, lettore_, at_);
            if (lettore_.fine())
                return esito_sezione::avanti;
        }
        // Every row applies to the same field; the first line that stops reading ends it.
        const std::string parola = lower_ascii(s_.campo);
        for (const keyword_row& row : line_body_keywords()) {
            if (!row.matches(s_.campo, parola, s_.compila_linea != 0))
                continue;
            at_.place.item = row.item;
            note_keyword_read(at_, row);
            const esito_sezione e = esegui(row.id, parola);
            if (e != esito_sezione::avanti)
                return e;
        }
    }
}

esito_sezione lettore_corpo::esegui(keyword id, const std::string& parola) {
    switch (id) {
        case keyword::gradient:
            return pendenza();
        case keyword::curve:
            return curva(parola);
        case keyword::tunnel:
            return montagna();
        case keyword::speed_board:
            return indicatori_v_max();
        case keyword::tunnel_board:
            return cartello();
        default:
            return esito_sezione::avanti;
    }
}

// A line is accepted when its position leaves 100 m of route after it.
bool lettore_corpo::posizione_accettata(int32_t p) {
    if (!s_.celle_esistono())
        throw errore_lettura("a line with a position, but the general section gave no route length");
    if (!oltre_fine_percorso(s_, p, margine_riga))
        return true;
    registra_errore(s_, at_, error_code::beyond_route_end, p);
    return false;
}

void lettore_corpo::scrivi_pendenza() {
    if (std::size_t(f_) >= s_.celle.size())
        throw errore_lettura("the gradients fill beyond the end of the route");
    s_.celle[std::size_t(f_)].pendenza = basso8(int64_t(g0_) + 100);
    ++f_;
}

// Closes the stretch of the previous gradient up to the cell before P / 50.
esito_sezione lettore_corpo::pendenza() {
    const int32_t p = lettore_.leggi_intero();
    const int32_t g = lettore_.leggi_intero();
    if (!posizione_accettata(p))
        return esito_sezione::fine_lettura;
    const int64_t e = route::item_cell(line_item::gradient, p);
    if (e > 0) {
        do
            scrivi_pendenza();
        while (f_ < e);
    }
    if (previous_line_.known && e <= route::item_cell(line_item::gradient, previous_position_))
        note_profile_order(at_, p, previous_line_, previous_position_, f_);
    previous_line_ = at_.place;
    previous_position_ = p;
    g0_ = g;
    return esito_sezione::avanti;
}

esito_sezione lettore_corpo::curva(const std::string& parola) {
    const int32_t inizio = lettore_.leggi_intero();
    const int32_t lunghezza = lettore_.leggi_intero();
    if (!posizione_accettata(inizio))
        return esito_sezione::fine_lettura;
    const std::optional<double> curvatura = curvatura_parola(parola);
    if (!curvatura) {
        registra_errore(s_, at_, error_code::curve_invalid);
        return esito_sezione::interrotta;
    }
    switch (traccia_curva(s_.tracciato, w_, inizio, lunghezza, *curvatura)) {
        case esito_curva::tracciata:
            return esito_sezione::avanti;
        case esito_curva::oltre_limite:
            registra_errore(s_, at_, error_code::curve_invalid);
            return esito_sezione::interrotta;
        case esito_curva::fuori_tracciato:
            break;
    }
    throw errore_lettura("the curve runs beyond the end of the track plan (the route length plus 7000 m)");
}

esito_sezione lettore_corpo::montagna() {
    const int32_t inizio = lettore_.leggi_intero();
    const int32_t fine = lettore_.leggi_intero();
    const int32_t tipo = lettore_.leggi_intero();
    if (!posizione_accettata(inizio))
        return esito_sezione::fine_lettura;
    memo_montagna(s_, inizio, fine, tipo, at_);
    return esito_sezione::avanti;
}

esito_sezione lettore_corpo::indicatori_v_max() {
    int32_t v[9];
    for (int32_t& x : v)
        x = lettore_.leggi_intero();
    if (!posizione_accettata(v[0]))
        return esito_sezione::fine_lettura;
    if (!memo_indicatori_v_max(s_, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], at_))
        return esito_sezione::interrotta;
    return esito_sezione::avanti;
}

esito_sezione lettore_corpo::cartello() {
    const int32_t p = lettore_.leggi_intero();
    const std::string testo = lettore_.leggi_testo();
    if (!posizione_accettata(p))
        return esito_sezione::fine_lettura;
    if (!memo_cartello_galleria(s_, p, testo, b_, at_))
        return esito_sezione::interrotta;
    --b_;
    return esito_sezione::avanti;
}

// The last gradient runs on to cell n_celle - 3 (at least one cell is written);
// the plan runs straight on to its third-last point.
void lettore_corpo::completa() {
    do
        scrivi_pendenza();
    while (f_ < s_.n_celle - 2);
    if (s_.compila_linea != 0)
        completa_dritto(s_.tracciato, w_);
}
}  // namespace

esito_fase_linea leggi_descrizione_linea(stato_scenario& s, archivio_sorgenti& sorgenti, log_at& at,
                                         bool record_fields, std::optional<int32_t> plan_point_limit) {
    esito_fase_linea esito;
    esito.prosegui = false;
    if (!sorgenti.esiste(sorgente_testo::linea)) {
        registra_errore(s, at, error_code::line_description_missing);
        return esito;
    }
    const std::optional<std::string> testo = sorgenti.leggi(sorgente_testo::linea);
    if (!testo)
        throw errore_lettura("the line description cannot be read");
    lettore_campi lettore(*testo, record_fields && at.log != nullptr ? &at.log->fields : nullptr,
                          sorgente_testo::linea);

    for (;;) {
        leggi_parola_chiave(s, lettore, at);
        if (lettore.fine()) {
            sorgenti.elimina(sorgente_testo::linea);
            registra_errore(s, at, error_code::general_section_missing);
            return esito;
        }
        if (contiene(lower_ascii(s.campo), general_header))
            break;
    }
    lettore.open_section(source_section::line_general);

    if (leggi_sezione_generale(s, lettore, at, plan_point_limit) == esito_sezione::interrotta) {
        sorgenti.elimina(sorgente_testo::linea);
        return esito;
    }
    progressive_ordina(s, &at);
    s.n_montagne = 0;
    // Every body line is positioned, and the end-of-file fills need the route.
    if (!s.celle_esistono() || (s.compila_linea != 0 && !s.tracciato.esiste()))
        throw errore_lettura("the general section gives no route length");
    if (s.compila_linea != 0)
        inizia_tracciato(s.tracciato);

    lettore_corpo corpo(s, lettore, at);
    const esito_sezione fine = corpo.leggi();
    sorgenti.elimina(sorgente_testo::linea);
    esito.slot_cartelli = corpo.slot_cartelli();
    if (fine == esito_sezione::interrotta)
        return esito;
    corpo.completa();
    esito.prosegui = true;
    return esito;
}

}  // namespace scenario
