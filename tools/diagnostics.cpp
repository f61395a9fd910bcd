#include "tools/diagnostics.h"

#include "compiler/provenance.h"
#include "compiler/run_cells.h"
#include "compiler/track_plan.h"
#include "tools/source_quote.h"

#include <string>

namespace scenario::strumento {

namespace {

std::string metri(int64_t p) {
    return std::to_string(p) + " m";
}

// Cells c..ultima as the stretch of route they cover.
std::string tratto(int64_t c, int64_t ultima) {
    return std::to_string(c * 50) + " to " + std::to_string(ultima * 50 + 50) + " m";
}
std::string tratto(int64_t c) {
    return tratto(c, c);
}

const char* cosa_sta(uint8_t tipo) {
    switch (tipo) {
        case tipo_cella::segnale:
            return "a signal";
        case tipo_cella::fine_rallentamento:
            return "the end of a slowdown";
        case tipo_cella::inizio_rallentamento:
            return "the start of a slowdown";
        case tipo_cella::avviso_rallentamento:
            return "the advance point of a slowdown";
        case tipo_cella::approccio_rallentamento:
            return "an approach cell of a slowdown";
        case tipo_cella::indicatore_vmax:
            return "a maximum-speed board";
        case tipo_cella::fermata:
            return "a station stop";
        case tipo_cella::segno:
            return "an abbattimento point or a mark";
        case tipo_cella::abbattimento_senza_valore:
            return "an abbattimento point";
        case tipo_cella::cartello_galleria:
            return "a tunnel-name board";
        default:
            return "an item";
    }
}

const char* nome_elemento(elemento_sorgente e) {
    using el = elemento_sorgente;
    switch (e) {
        case el::nessuno:
            return "line";
        case el::lunghezza_percorso:
            return "route length";
        case el::progressiva:
            return "kilometric progressive";
        case el::sfondo:
            return "scenery value";
        case el::ripetizione_segnali:
            return "signal repetition";
        case el::pendenza:
            return "gradient";
        case el::curva:
            return "curve";
        case el::galleria:
            return "tunnel";
        case el::indicatore_vmax:
            return "maximum-speed board";
        case el::cartello_galleria:
            return "tunnel-name board";
        case el::massa_frenata:
            return "braked mass";
        case el::vetture:
            return "number of coaches";
        case el::velocita:
            return "speed limit";
        case el::aderenza:
            return "adhesion";
        case el::orologio:
            return "clock";
        case el::sabbia:
            return "sand";
        case el::segnale:
            return "signal";
        case el::rallentamento:
            return "slowdown";
        case el::abbattimento:
            return "abbattimento point";
        case el::stazione:
            return "station";
    }
    return "line";
}

// The elements whose first number is a position along the route.
bool ha_posizione(elemento_sorgente e) {
    using el = elemento_sorgente;
    switch (e) {
        case el::pendenza:
        case el::curva:
        case el::galleria:
        case el::indicatore_vmax:
        case el::cartello_galleria:
        case el::velocita:
        case el::aderenza:
        case el::segnale:
        case el::rallentamento:
        case el::abbattimento:
        case el::stazione:
            return true;
        default:
            return false;
    }
}

const char* nome_sorgente(sorgente_testo s) {
    return s == sorgente_testo::linea ? "the line description" : "the run description";
}

class compositore {
public:
    compositore(const stato_scenario& s, const sorgenti_compilate& t)
        : s_(s), linea_(t.linea), corsa_(t.corsa) {}

    diagnosi componi(const errore_registrato& e, std::size_t indice) {
        e_ = &e;
        indice_ = indice;
        d_ = {};
        d_.codice = e.codice;
        d_.gravita = gravita(e.codice);
        if (e.con_posizione)
            d_.posizione = e.posizione;
        if (e.luogo.valido) {
            d_.sorgente = e.luogo.sorgente;
            d_.riga = e.luogo.riga;
        }
        d_.messaggio = testo();
        return d_;
    }

private:
    // ---- quoting the line behind an error or an item ----

    std::vector<std::string_view> campi(const luogo_lettura& l) const {
        if (!l.valido)
            return {};
        return campi_riga((l.sorgente == sorgente_testo::linea ? linea_ : corsa_).riga(l.riga));
    }
    std::string campo(const luogo_lettura& l, std::size_t i) const {
        const std::vector<std::string_view> c = campi(l);
        return i < c.size() ? std::string(c[i]) : std::string();
    }
    std::optional<int32_t> numero(const luogo_lettura& l, std::size_t i) const {
        const std::vector<std::string_view> c = campi(l);
        return i < c.size() ? numero_scritto(c[i]) : std::nullopt;
    }

    // "signal at 3650 m", "station CORBEZZI at 17550 m": the element a line
    // describes, at `posizione` or else at the position written on it.
    std::string descrivi(const luogo_lettura& l, std::optional<int64_t> posizione = std::nullopt) const {
        std::string t = nome_elemento(l.elemento);
        if (l.elemento == elemento_sorgente::stazione) {
            const std::vector<std::string_view> c = campi(l);
            if (c.size() > 1 && !c.back().empty() && !numero_scritto(c.back()))
                t += " " + std::string(c.back());
        }
        if (!ha_posizione(l.elemento))
            return t;
        if (!posizione)
            posizione = numero(l, 1);
        if (posizione)
            t += " at " + metri(*posizione);
        return t;
    }

    // The element of the line behind the error being composed; `predefinito`
    // when the compile did not say what the line describes. A reader error
    // with a position was recorded at the line's own position.
    std::string chi(const char* predefinito) const {
        const luogo_lettura& l = e_->luogo;
        if (!l.valido || l.elemento == elemento_sorgente::nessuno)
            return predefinito;
        const bool posizione_propria = e_->con_posizione && d_.gravita == gravita_errore::lettura;
        return descrivi(l, posizione_propria ? std::optional<int64_t>(e_->posizione) : std::nullopt);
    }

    // "already taken by a signal (the signal at 3600 m on line 40)": what
    // stands in cell c, and the line that put it there.
    std::string occupata(int64_t c) const {
        if (c < 0 || c >= static_cast<int64_t>(s_.celle.size()))
            return "outside the route";
        std::string t =
            std::string("already taken by ") + cosa_sta(s_.celle[static_cast<std::size_t>(c)].tipo);
        const luogo_lettura origine = origine_cella(s_, c);
        if (!origine.valido)
            return t;
        t += " (the " + descrivi(origine) + " on line " + std::to_string(origine.riga);
        if (!e_->luogo.valido || origine.sorgente != e_->luogo.sorgente)
            t += std::string(" of ") + nome_sorgente(origine.sorgente);
        return t + ")";
    }

    // "<who>: its cell (3700 to 3750 m) is already taken by ...": the cell the
    // error concerns, as the compile recorded it, and what stands there.
    std::string presa(const char* predefinito, const char* quale) const {
        const int64_t c = e_->cella.value_or(-1);
        return chi(predefinito) + ": " + quale + " (" + tratto(c) + ") is " + occupata(c);
    }

    // ---- the messages ----

    std::string testo() {
        const errore_registrato& e = *e_;
        const voce& identita = s_.voci[voce_identita_treno];
        const int64_t cella_posizione = e.posizione / 50;
        switch (e.codice) {
            case 1:
                return "route length " + metri(s_.voci[voce_treno].valore2) +
                       ": longer than the 1000000 m a route may have";
            case 2:
                return progressiva();
            case 3:
                return "signal repetition: the first distance, " + metri(identita.valore1) +
                       ", is not a multiple of 50";
            case 4:
                return "signal repetition: the second distance, " + metri(identita.valore2) +
                       ", is not a multiple of 50";
            case 5:
                return "signal repetition \"" + campo(e.luogo, 0) +
                       "\": the keyword names neither 4 nor 9 codes";
            case 6:
            case 21:
            case 16:
                return presa("board", "its cell");
            case 7:
                return presa("abbattimento point", "its cell");
            case 8:
                return chi("station") + ": its position is not a multiple of 50";
            case 9: {
                const std::optional<int32_t> l = numero(e.luogo, 3);
                return chi("station") + ": its area length" + (l ? ", " + metri(*l) + "," : std::string()) +
                       " is not a multiple of 100";
            }
            case 10:
                return troppe_stazioni();
            case 11: {
                const std::string davanti = tratto(cella_posizione - 2, cella_posizione - 1);
                return chi("signal") + ": both cells in front of it (" + davanti +
                       ") are taken, so it gets no mark " +
                       "for the slowdown whose advance point lies up to 1000 m after it";
            }
            case 12:
                return chi("slowdown") + ": no free cell for one of its approach marks " +
                       "(250 to 350, 550 to 650 or 900 to 1000 m before its start cell)";
            case 13:
                return chi("slowdown") + ": no free cell at " + tratto(cella_posizione) +
                       " for a repeat mark " +
                       "inside the slowdown, or for the mark in front of the first signal after its end";
            case 15:
                return e.arresto_ereditato ? arresto_ereditato() : fuori_percorso();
            case 17:
                return presa("slowdown", "its advance cell, 1200 m before its start");
            case 18:
                return presa("slowdown", "its start cell");
            case 19:
                return presa("slowdown", "its end cell");
            case 20:
                return presa("slowdown", "an approach cell before its advance point");
            case 22:
                return spaziatura();
            case 24: {
                std::string t = chi("station") + ": its stop cell would lie at or before cell 1";
                if (e.cella)
                    t += " (cell " + std::to_string(*e.cella) + ")";
                return t + "; the station area must end beyond 100 m";
            }
            case 25:
                return illeggibile();
            case 101:
                return "the line description does not exist";
            case 102:
                return "the line description has no field holding \"[generale]\": nothing in it was read";
            case 103:
                return curva();
            case 1250:
            case 1251:
                return timbro();
            default: {
                std::string t = descrizione_errore(e.codice);
                if (e.con_posizione)
                    t += " (at " + metri(e.posizione) + ")";
                return t;
            }
        }
    }

    // A read failure: the line being read and why it failed.
    std::string illeggibile() const {
        const luogo_lettura& l = e_->luogo;
        std::string dove = "the sources";
        if (l.valido)
            dove = l.elemento != elemento_sorgente::nessuno ? descrivi(l) : nome_sorgente(l.sorgente);
        return dove + ": cannot be read: " + (e_->dettaglio.empty() ? "a read failure" : e_->dettaglio) +
               "; the compile stopped reading";
    }

    std::string progressiva() const {
        const luogo_lettura& l = e_->luogo;
        if (!l.valido)
            return "a kilometric progressive's start or end is not a multiple of 50";
        std::string t = "kilometric progressive \"" + campo(l, 0) + "\"";
        const std::optional<int32_t> inizio = numero(l, 1);
        const std::optional<int32_t> fine = numero(l, 2);
        if (inizio && fine)
            t += " (" + metri(*inizio) + ", " + metri(*fine) + ")";
        return t + ": its start and end must be multiples of 50";
    }

    // The compiler's own reading of the keyword tells the two causes apart.
    std::string curva() const {
        const std::string parola = campo(e_->luogo, 0);
        const std::optional<int32_t> inizio = numero(e_->luogo, 1);
        const std::string t =
            "curve \"" + parola + "\"" + (inizio ? " at " + metri(*inizio) : std::string()) + ": ";
        if (!curvatura_parola(parola))
            return t + "the keyword names no curve class (a digit 1 to 6)";
        return t + "the track plan would run beyond " + metri(ultimo_punto_curve);
    }

    std::string troppe_stazioni() const {
        // The boards' records are the ones read from a tunnel-name board line.
        int32_t cartelli = 0;
        for (const luogo_lettura& o : s_.origine_voci)
            if (o.valido && o.elemento == elemento_sorgente::cartello_galleria)
                ++cartelli;
        return chi("station") + ": one station too many: stations and the " + std::to_string(cartelli) +
               " tunnel-name boards share the records 1 to 80, so at most " + std::to_string(78 - cartelli) +
               " stations fit";
    }

    // The station's record is the one read from the error's line.
    std::string spaziatura() const {
        for (int i = prima_voce_cartelli - 1; i >= 2; --i) {
            const luogo_lettura& o = s_.origine_voci[static_cast<std::size_t>(i)];
            if (!o.valido || !e_->luogo.valido || o.sorgente != e_->luogo.sorgente ||
                o.riga != e_->luogo.riga)
                continue;
            const voce& v = s_.voci[static_cast<std::size_t>(i)];
            const voce& prima = s_.voci[static_cast<std::size_t>(i - 1)];
            const int64_t scarto = int64_t{v.valore1} - prima.valore2;
            std::string t = chi("station") + ": its area starts at " + metri(v.valore1) + ", ";
            t += scarto >= 0 ? "only " + metri(scarto) + " after" : "before";
            t += " the area of the previous station" +
                 (prima.testo.empty() ? std::string() : ", " + prima.testo + ",") + " ends (" +
                 metri(prima.valore2) + "); 350 m are needed between them";
            return t;
        }
        return chi("station") + ": its area starts less than 350 m after the previous station's area ends";
    }

    std::string fuori_percorso() const {
        const errore_registrato& e = *e_;
        const bool stazione = e.luogo.elemento == elemento_sorgente::stazione;
        const int32_t margine = stazione ? margine_stazione : margine_riga;
        std::string t = chi("line") + ": ";
        if (e.posizione < 0)
            return t + "lies before the start of the route";
        if (oltre_fine_percorso(s_, e.posizione, margine))
            return t + "too close to or beyond the end of the route; " +
                   (stazione ? "a station" : "a position") + " may lie at most at " +
                   metri(ultima_posizione_accettata(s_, margine)) + " (the route is " +
                   metri(s_.voci[voce_treno].valore2) + " long, plus " +
                   metri(int64_t{s_.lunghezza_estesa} - s_.voci[voce_treno].valore2) + " of run-off)";
        if (e.luogo.elemento == elemento_sorgente::rallentamento) {
            const std::optional<int32_t> lunghezza = numero(e.luogo, 3);
            if (lunghezza)
                return t + "its end, at " + metri(int64_t{e.posizione} + *lunghezza) +
                       ", lies beyond the end of the route";
            return t + "its end lies beyond the end of the route";
        }
        if (stazione)
            return t + "its station area or stop lies beyond the end of the route, or outside 32 bits";
        return t + "lies outside the route";
    }

    // An error the line description left makes the run description stop at
    // its first signal or slowdown, whose position the error record takes.
    std::string arresto_ereditato() const {
        std::string t = chi("line") +
                        ": the run description was read up to this line, its first signal or slowdown, "
                        "and stopped here for the error " +
                        std::to_string(e_->codice) + " left by ";
        const errore_registrato* prima = nullptr;
        for (std::size_t i = indice_; i-- > 0;)
            if (s_.errori[i].codice == e_->codice && !s_.errori[i].arresto_ereditato) {
                prima = &s_.errori[i];
                break;
            }
        if (prima && prima->luogo.valido)
            t += "line " + std::to_string(prima->luogo.riga) + " of " + nome_sorgente(prima->luogo.sorgente);
        else
            t += "an earlier line";
        return t + "; the error record took this position";
    }

    std::string timbro() const {
        const bool identita = e_->codice == 1250;
        const char* nome = identita ? "identity stamp" : "competition code stamp";
        // The stamped cell, as the compile logged it.
        const int64_t n = e_->cella.value_or(-1);
        if (n >= 0 && n < static_cast<int64_t>(s_.celle.size())) {
            const cella& c = s_.celle[static_cast<std::size_t>(n)];
            const int16_t valore = identita ? c.dato1 : c.dato2;
            if (valore != 0) {
                const std::string qui = "cell " + std::to_string(n);
                std::string t = std::string(nome) + ": " + qui + " (" + tratto(n) + ") already holds " +
                                cosa_sta(c.tipo) + " with " + (identita ? "dato1" : "dato2") + " = " +
                                std::to_string(valore);
                if (e_->luogo.valido)
                    t += " (the " + descrivi(e_->luogo) + ")";
                return t + "; the compiler stamps the scenario " +
                       (identita ? "identity" : "competition code") + " there, so nothing may stand in " +
                       qui + "; no file was written";
            }
        }
        return std::string(nome) + ": the stamp slot of record 85 is already in use; no file was written";
    }

    const stato_scenario& s_;
    const righe_testo linea_;
    const righe_testo corsa_;

    // The error being explained, its place in the log, and its diagnosis.
    const errore_registrato* e_ = nullptr;
    std::size_t indice_ = 0;
    diagnosi d_;
};

}  // namespace

const char* nome_gravita(gravita_errore g) {
    switch (g) {
        case gravita_errore::lettura:
            return "reader";
        case gravita_errore::finitura:
            return "sweep";
        case gravita_errore::fatale:
            return "fatal";
    }
    return "reader";
}

const char* effetto_gravita(gravita_errore g) {
    switch (g) {
        case gravita_errore::lettura:
            return "reading stopped there";
        case gravita_errore::finitura:
            return "the compile went on";
        case gravita_errore::fatale:
            return "the compile stopped, no file written";
    }
    return "";
}

std::vector<diagnosi> diagnostica(const stato_scenario& s, const sorgenti_compilate& sorgenti,
                                  const std::optional<std::string>& timbro) {
    compositore c(s, sorgenti);
    std::vector<diagnosi> elenco;
    elenco.reserve(s.errori.size() + 1);
    for (std::size_t i = 0; i < s.errori.size(); ++i)
        elenco.push_back(c.componi(s.errori[i], i));
    if (timbro) {
        // The compile logs its stamp errors; a state that did not still gets one.
        errore_registrato fatale;
        fatale.codice = *timbro == "1251" ? 1251 : 1250;
        if (elenco.empty() || elenco.back().codice != fatale.codice)
            elenco.push_back(c.componi(fatale, s.errori.size()));
    }
    return elenco;
}

}  // namespace scenario::strumento
