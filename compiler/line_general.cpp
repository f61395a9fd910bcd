// The general section of the line description: route length, kilometric
// progressives, scenery values and signal repetition; and the ordering of the
// progressives once the section has been read.
#include "compiler/errors.h"
#include "compiler/keywords.h"
#include "compiler/line_reader.h"
#include "compiler/provenance.h"
#include "compiler/read_sources.h"
#include "compiler/text_case.h"
#include "compiler/track_plan.h"

#include <array>
#include <limits>
#include <optional>

namespace scenario {

namespace lettura_linea {

namespace {
constexpr int32_t lunghezza_massima = 1000000;  // metres
constexpr int massime_sostituzioni = 10;        // "-" fields replaced in a row

// Route length. The cells and the plan are sized when the section is left
// (see leggi_sezione_generale); the last accepted length is kept in `sospesa`.
esito_sezione lunghezza_percorso(stato_scenario& s, lettore_campi& lettore, std::optional<int32_t>& sospesa,
                                 const log_at& at) {
    const int32_t l = lettore.leggi_intero();
    s.voci[voce_treno].valore2 = l;
    if (l > lunghezza_massima) {
        registra_errore(s, at, error_code::route_too_long);
        return esito_sezione::interrotta;
    }
    if (l < 0)
        throw errore_lettura("the route length is negative");
    sospesa = l;
    return esito_sezione::avanti;
}

// Cells 0..n_celle, all zero, and, when the plan is built, plan points
// 0..lunghezza_estesa, all empty.
void dimensiona_percorso(stato_scenario& s, int32_t lunghezza, compile_log* log) {
    s.lunghezza_estesa = lunghezza + margine_percorso;
    s.n_celle = ultima_cella(s.lunghezza_estesa);
    s.celle.assign(std::size_t(s.n_celle) + 1, cella{});
    reset_cell_origins(log, s.celle.size());
    if (s.compila_linea != 0)
        crea_tracciato(s.tracciato, s.lunghezza_estesa);
}

void progressiva(stato_scenario& s, int slot, lettore_campi& lettore, const log_at& at) {
    voce& v = s.voci[std::size_t(slot)];
    note_record_origin(at, std::size_t(slot));
    v.valore1 = lettore.leggi_intero();
    v.valore2 = lettore.leggi_intero();
    v.valore3 = lettore.leggi_intero();
}

// Signal repetition: two distances, multiples of 50, and the number of codes
// (4 or 9) named in the keyword; a second distance of 0 turns it off.
esito_sezione ripetizione_segnali(stato_scenario& s, lettore_campi& lettore, const std::string& campo,
                                  const log_at& at) {
    voce& v = s.voci[voce_identita_treno];
    v.valore1 = lettore.leggi_intero();
    v.valore2 = lettore.leggi_intero();
    if (v.valore1 % 50 != 0) {
        registra_errore(s, at, error_code::first_repetition_not_on_50);
        return esito_sezione::interrotta;
    }
    if (v.valore2 % 50 != 0) {
        registra_errore(s, at, error_code::second_repetition_not_on_50);
        return esito_sezione::interrotta;
    }
    if (contiene(campo, "4")) {
        v.valore3 = 4;
    } else if (contiene(campo, "9")) {
        v.valore3 = 9;
    } else {
        registra_errore(s, at, error_code::repetition_codes_unnamed);
        return esito_sezione::interrotta;
    }
    if (v.valore2 == 0)
        v.valore3 = 0;
    return esito_sezione::avanti;
}

// Every row applies to the same field, in the table's order.
esito_sezione interpreta(stato_scenario& s, lettore_campi& lettore, const std::string& campo,
                         std::optional<int32_t>& lunghezza, log_at& at) {
    const std::string parola = lower_ascii(campo);
    for (const keyword_row& row : line_general_keywords()) {
        if (!row.matches(campo, parola, s.compila_linea != 0))
            continue;
        at.place.item = row.item;
        note_keyword_read(at, row);
        switch (row.id) {
            case keyword::route_length:
                if (lunghezza_percorso(s, lettore, lunghezza, at) == esito_sezione::interrotta)
                    return esito_sezione::interrotta;
                break;
            case keyword::progressive_three:
                progressiva(s, voce_progressiva_tre, lettore, at);
                break;
            case keyword::progressive_two:
                progressiva(s, voce_progressiva_due, lettore, at);
                break;
            case keyword::progressive_one:
                progressiva(s, voce_progressiva_uno, lettore, at);
                break;
            // The scenery values go crossed: "uno" to valore1, "due" to valore3, "tre" to valore2.
            case keyword::scenery_one:
                s.voci[voce_scenario].valore1 = lettore.leggi_intero();
                break;
            case keyword::scenery_two:
                s.voci[voce_scenario].valore3 = lettore.leggi_intero();
                break;
            case keyword::scenery_three:
                s.voci[voce_scenario].valore2 = lettore.leggi_intero();
                break;
            case keyword::signal_repetition:
                return ripetizione_segnali(s, lettore, campo, at);
            default:
                break;
        }
    }
    return esito_sezione::avanti;
}
}  // namespace

void leggi_parola_chiave(stato_scenario& s, lettore_campi& lettore, log_at& at) {
    s.campo = lettore.leggi_parola_chiave();
    at.place = {true, sorgente_testo::linea, lettore.riga(), line_item::none, lettore.last_record()};
}

namespace {
esito_sezione leggi_righe_generali(stato_scenario& s, lettore_campi& lettore,
                                   std::optional<int32_t>& lunghezza, log_at& at) {
    const auto fine_file = [&] {
        if (at.log)
            at.log->general_section_unended = true;
        return esito_sezione::avanti;
    };
    for (;;) {
        if (lettore.fine())
            return fine_file();
        leggi_parola_chiave(s, lettore, at);
        if (lettore.fine())
            return fine_file();
        // Dash fields are passed over, with no end-of-file test in between.
        for (int n = 0; n < massime_sostituzioni && contiene(s.campo, "-"); ++n)
            leggi_parola_chiave(s, lettore, at);
        const std::string campo = s.campo;
        if (interpreta(s, lettore, campo, lunghezza, at) == esito_sezione::interrotta)
            return esito_sezione::interrotta;
        if (ends_general_section(campo)) {
            lettore.open_section(source_section::line_body);
            return esito_sezione::avanti;
        }
    }
}
}  // namespace

// Every route length line would re-size the route, losing nothing since the
// section stores nothing in it; sizing once, for the last length read, on every
// way out, gives the same route and keeps a file of many length lines cheap.
// A limit on the plan is checked where the route would be made, so whatever
// way the section ends, nothing of a route beyond the limit is built.
esito_sezione leggi_sezione_generale(stato_scenario& s, lettore_campi& lettore, log_at& at,
                                     std::optional<int32_t> plan_point_limit) {
    std::optional<int32_t> lunghezza;
    const auto dimensiona = [&] {
        if (!lunghezza)
            return;
        const int64_t punti = int64_t(*lunghezza) + margine_percorso + 1;
        if (s.compila_linea != 0 && plan_point_limit && punti > *plan_point_limit)
            throw limite_tracciato_superato{};
        dimensiona_percorso(s, *lunghezza, at.log);
    };
    esito_sezione esito = esito_sezione::avanti;
    try {
        esito = leggi_righe_generali(s, lettore, lunghezza, at);
    } catch (...) {
        dimensiona();
        throw;
    }
    dimensiona();
    return esito;
}

}  // namespace lettura_linea

void progressive_ordina(stato_scenario& s, log_at* at) {
    // A progressive's values travel with the line they were read from.
    struct terna {
        int32_t v1 = 0, v2 = 0, v3 = 0;
        source_place origine;
    };
    const auto prendi = [&](int slot) {
        const voce& v = s.voci[std::size_t(slot)];
        return terna{v.valore1, v.valore2, v.valore3,
                     at != nullptr && at->log != nullptr ? at->log->record_origins[std::size_t(slot)]
                                                         : source_place{}};
    };
    const terna t = prendi(voce_progressiva_tre), d = prendi(voce_progressiva_due),
                u = prendi(voce_progressiva_uno);

    std::array<terna, 3> r{};  // slots 81, 82, 83; all zero unless a rule applies
    if (int64_t(t.v1) + d.v1 + u.v1 != 0) {
        // The strictly largest first; then, of the other two, the first named
        // (in the order tre, due, uno) only when strictly larger.
        const auto ordina = [&](const terna& primo, const terna& a, const terna& b) {
            r = a.v1 > b.v1 ? std::array<terna, 3>{primo, a, b} : std::array<terna, 3>{primo, b, a};
        };
        if (t.v1 > d.v1 && t.v1 > u.v1)
            ordina(t, d, u);
        else if (d.v1 > t.v1 && d.v1 > u.v1)
            ordina(d, t, u);
        else if (u.v1 > t.v1 && u.v1 > d.v1)
            ordina(u, t, d);
    } else {
        // Progressives starting at 0: the last one with a positive valore2 leads.
        if (t.v2 > 0)
            r = {t, d, u};
        if (d.v2 > 0)
            r = {d, t, u};
        if (u.v2 > 0)
            r = {u, d, t};
    }

    for (std::size_t k = 0; k < r.size(); ++k) {
        terna& x = r[k];
        if (x.v3 == 1) {
            if (x.v2 > std::numeric_limits<int32_t>::max() - 100) {
                if (at != nullptr)
                    at->place = x.origine;  // the read failure names the progressive's line
                throw errore_lettura("the progressive's end plus 100 m lies outside the 32-bit range");
            }
            x.v2 += 100;
        }
        voce& v = s.voci[voce_progressiva_tre + k];
        v.valore1 = x.v1;
        v.valore2 = x.v2;
        v.valore3 = x.v3;
        if (at != nullptr && at->log != nullptr)
            at->log->record_origins[voce_progressiva_tre + k] = x.origine;
    }
}

}  // namespace scenario
