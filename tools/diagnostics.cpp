#include "diagnostics.h"

#include <new>
#include <string>

#include "compiler/field_reader.h"
#include "compiler/read_sources.h"
#include "compiler/source_store.h"
#include "source_scan.h"

namespace scenario::strumento {

namespace {

std::string metri(int64_t p) { return std::to_string(p) + " m"; }

// Cells c..ultima as the stretch of route they cover.
std::string tratto(int64_t c, int64_t ultima) {
    return std::to_string(c * 50) + " to " + std::to_string(ultima * 50 + 50) + " m";
}
std::string tratto(int64_t c) { return tratto(c, c); }

const char* cosa_sta(uint8_t tipo) {
    switch (tipo) {
        case tipo_cella::segnale: return "a signal";
        case tipo_cella::fine_rallentamento: return "the end of a slowdown";
        case tipo_cella::inizio_rallentamento: return "the start of a slowdown";
        case tipo_cella::avviso_rallentamento: return "the advance point of a slowdown";
        case tipo_cella::approccio_rallentamento: return "an approach cell of a slowdown";
        case tipo_cella::indicatore_vmax: return "a maximum-speed board";
        case tipo_cella::fermata: return "a station stop";
        case tipo_cella::segno: return "an abbattimento point or a mark";
        case tipo_cella::abbattimento_senza_valore: return "an abbattimento point";
        case tipo_cella::cartello_galleria: return "a tunnel-name board";
        default: return "an item";
    }
}

bool ha_posizione(elemento e) {
    switch (e) {
        case elemento::pendenza:
        case elemento::curva:
        case elemento::galleria:
        case elemento::indicatore_vmax:
        case elemento::cartello_galleria:
        case elemento::velocita:
        case elemento::aderenza:
        case elemento::segnale:
        case elemento::rallentamento:
        case elemento::abbattimento:
        case elemento::stazione: return true;
        default: return false;
    }
}

bool solo_cifre(const std::string& t) {
    if (t.empty()) return true;
    for (char c : t)
        if ((c < '0' || c > '9') && c != '-' && c != '+') return false;
    return true;
}

int32_t numero(const riga_sorgente* r, std::size_t i) { return r && i < r->numeri.size() ? r->numeri[i] : 0; }

const char* nome_sorgente(sorgente_testo s) {
    return s == sorgente_testo::linea ? "the line description" : "the run description";
}

// Why reading failed: the reading is done again, step by step, to catch the
// failure the compile's handler turned into error 25.
std::string causa_lettura(const sorgenti_compilate& t) {
    stato_scenario s;
    s.nome_scenario = t.nome_scenario;
    s.numero_treno = t.numero_treno;
    s.compila_linea = t.compila_linea;
    s.voci[voce_scenario].testo = s.nome_scenario;
    s.voci[voce_identita_treno].testo = s.numero_treno;
    sorgenti_in_memoria copie{std::string(t.linea), std::string(t.corsa)};
    try {
        const esito_fase_linea linea = leggi_descrizione_linea(s, copie);
        if (linea.prosegui) leggi_descrizione_corsa(s, copie, linea.slot_cartelli);
    } catch (const errore_lettura& e) {
        const std::string motivo = e.what();
        if (motivo == "read past the end of the file") return "the file ends before the values of this line are complete";
        if (motivo == "number out of range") return "a number lies outside the 32-bit range";
        if (motivo == "number does not fit 16 bits") return "a number does not fit 16 bits (-32768 to 32767)";
        if (motivo == "number does not fit 0..255") return "a number does not fit 0 to 255";
        return motivo;
    } catch (const std::bad_alloc&) {
        return "the source is too large to hold in memory";
    }
    return "a read failure";
}

class compositore {
public:
    compositore(const stato_scenario& s, const sorgenti_compilate& t)
        : s_(s),
          t_(t),
          righe_linea_(righe_sorgente(t.linea, sorgente_testo::linea)),
          righe_corsa_(righe_sorgente(t.corsa, sorgente_testo::corsa)),
          posti_linea_(elementi_posti(righe_linea_)),
          posti_corsa_(elementi_posti(righe_corsa_)) {}

    diagnosi componi(const errore_registrato& e) {
        d_ = {};
        d_.codice = e.codice;
        d_.gravita = gravita(e.codice);
        if (e.con_posizione) d_.posizione = e.posizione;
        r_ = nullptr;
        if (e.luogo.valido) punta(e.luogo.sorgente, e.luogo.riga);
        p_ = e.con_posizione ? int64_t{e.posizione} : int64_t{numero(r_, 0)};
        d_.messaggio = testo(e);
        return d_;
    }

    diagnosi componi_fatale(int32_t codice) {
        d_ = {};
        d_.codice = codice;
        d_.gravita = gravita(codice);
        r_ = nullptr;
        d_.messaggio = timbro(codice);
        return d_;
    }

private:
    const std::vector<riga_sorgente>& righe(sorgente_testo s) const {
        return s == sorgente_testo::linea ? righe_linea_ : righe_corsa_;
    }

    void punta(sorgente_testo s, int32_t riga) {
        d_.sorgente = s;
        d_.riga = riga;
        r_ = riga_numero(righe(s), riga);
    }
    void punta(const elemento_posto& e) { punta(e.riga->sorgente, e.riga->numero); }

    // "signal at 3650 m", "station CORBEZZI at 17550 m".
    std::string descrivi(const riga_sorgente& r) const {
        std::string t = nome_elemento(r.tipo);
        if (r.tipo == elemento::stazione && !solo_cifre(r.ultimo_campo)) t += " " + r.ultimo_campo;
        if (ha_posizione(r.tipo) && !r.numeri.empty()) t += " at " + metri(r.numeri[0]);
        return t;
    }
    // The failing line's element at the error position.
    std::string chi(const char* predefinito) const {
        if (!r_ || r_->tipo == elemento::nessuno) return predefinito;
        std::string t = nome_elemento(r_->tipo);
        if (r_->tipo == elemento::stazione && !solo_cifre(r_->ultimo_campo)) t += " " + r_->ultimo_campo;
        if (ha_posizione(r_->tipo)) t += " at " + metri(p_);
        return t;
    }

    // "already taken by a signal (the signal at 3600 m on line 40)": what
    // stands in cell c, and the earlier line that put it there.
    std::string occupata(int64_t c) const {
        if (c < 0 || c >= static_cast<int64_t>(s_.celle.size())) return "outside the route";
        const uint8_t tipo = s_.celle[static_cast<std::size_t>(c)].tipo;
        std::string t = std::string("already taken by ") + cosa_sta(tipo);
        const bool in_corsa = d_.sorgente == sorgente_testo::corsa;
        const elemento_posto* trovato = nullptr;
        const auto cerca = [&](const std::vector<elemento_posto>& posti, bool limita) {
            for (const elemento_posto& e : posti) {
                if (limita && e.riga->numero >= d_.riga) break;
                for (int32_t x : e.celle)
                    if (x == c) trovato = &e;
            }
        };
        cerca(posti_linea_, !in_corsa);
        if (in_corsa) cerca(posti_corsa_, true);
        if (trovato) {
            t += " (the " + descrivi(*trovato->riga) + " on line " + std::to_string(trovato->riga->numero);
            if (trovato->riga->sorgente != d_.sorgente) t += std::string(" of ") + nome_sorgente(trovato->riga->sorgente);
            t += ")";
        }
        return t;
    }

    // The placed item of the run description of kind `tipo` whose cell number
    // `quale` is c (the last one in file order, as later items win).
    const elemento_posto* in_cella(elemento tipo, std::size_t quale, int64_t c) const {
        const elemento_posto* trovato = nullptr;
        for (const elemento_posto& e : posti_corsa_)
            if (e.tipo == tipo && quale < e.celle.size() && e.celle[quale] == c) trovato = &e;
        return trovato;
    }

    std::string testo(const errore_registrato& e) {
        const int64_t p = p_;
        switch (e.codice) {
            case 1:
                return "route length " + metri(numero(r_, 0)) + ": longer than the 1000000 m a route may have";
            case 2: return progressiva();
            case 3:
                return "signal repetition: the first distance, " + metri(numero(r_, 0)) + ", is not a multiple of 50";
            case 4:
                return "signal repetition: the second distance, " + metri(numero(r_, 1)) + ", is not a multiple of 50";
            case 5:
                return "signal repetition \"" + (r_ ? r_->parola : std::string()) +
                       "\": the keyword names neither 4 nor 9 codes";
            case 6:
            case 21:
            case 16: {
                const int64_t c = cella_di(p, 1);
                return chi("board") + ": its cell (" + tratto(c) + ") is " + occupata(c);
            }
            case 7: {
                const int64_t c = cella_di(p, 0);
                return chi("abbattimento point") + ": its cell (" + tratto(c) + ") is " + occupata(c);
            }
            case 8: return chi("station") + ": its position is not a multiple of 50";
            case 9:
                return chi("station") + ": its area length, " + metri(numero(r_, 2)) + ", is not a multiple of 100";
            case 10: return troppe_stazioni();
            case 11: return segnale_senza_segno(e);
            case 12: return avvicinamento(e);
            case 13: return ripetizione(e);
            case 15: return fuori_percorso(e);
            case 17: {
                const int64_t c = cella_di(p - 1200, 1);
                return chi("slowdown") + ": its advance cell, 1200 m before the start (" + tratto(c) + "), is " +
                       occupata(c);
            }
            case 18: {
                const int64_t c = cella_di(p, 1);
                return chi("slowdown") + ": its start cell (" + tratto(c) + ") is " + occupata(c);
            }
            case 19: {
                const int64_t c = cella_di(p + numero(r_, 2), 1);
                return chi("slowdown") + ": its end cell (" + tratto(c) + ") is " + occupata(c);
            }
            case 20: {
                const int64_t b = cella_di(p - 1200, 0);
                for (int64_t c = b; c > b - 4; --c)
                    if (c >= 0 && c < static_cast<int64_t>(s_.celle.size()) &&
                        !cella_libera(s_.celle[static_cast<std::size_t>(c)]))
                        return chi("slowdown") + ": an approach cell before its advance point (" + tratto(c) + ") is " +
                               occupata(c);
                return chi("slowdown") + ": one of the four approach cells before its advance point (" +
                       tratto(b - 3, b) + ") is already taken";
            }
            case 22: return spaziatura();
            case 24: {
                const elemento_posto* e24 = nullptr;
                for (const elemento_posto& x : posti_corsa_)
                    if (r_ && x.riga == r_) e24 = &x;
                std::string t = chi("station") + ": its stop cell would lie at or before cell 1";
                if (e24 && !e24->celle.empty()) t += " (cell " + std::to_string(e24->celle[0]) + ")";
                return t + "; the station area must end beyond 100 m";
            }
            case 25: {
                const std::string dove = r_ && r_->tipo != elemento::nessuno
                                             ? descrivi(*r_)
                                             : (d_.sorgente ? std::string(nome_sorgente(*d_.sorgente)) : "the sources");
                return dove + ": cannot be read: " + causa_lettura(t_) + "; the compile stopped reading";
            }
            case 101: return "the line description does not exist";
            case 102: return "the line description has no field holding \"[generale]\": nothing in it was read";
            case 103: {
                const std::string parola = r_ ? r_->parola : std::string();
                if (parola.find_first_of("123456") == std::string::npos)
                    return "curve \"" + parola + "\" at " + metri(numero(r_, 0)) +
                           ": the keyword names no curve class (a digit 1 to 6)";
                return "curve at " + metri(numero(r_, 0)) + ": the track plan would run beyond 1000000 m";
            }
            case 1250:
            case 1251: return timbro(e.codice);
            default: {
                std::string t = descrizione_errore(e.codice);
                if (e.con_posizione) t += " (at " + metri(e.posizione) + ")";
                return t;
            }
        }
    }

    std::string progressiva() {
        for (const riga_sorgente& r : righe_linea_) {
            if (r.tipo != elemento::progressiva) continue;
            if (numero(&r, 0) % 50 != 0 || numero(&r, 1) % 50 != 0) {
                punta(sorgente_testo::linea, r.numero);
                return "kilometric progressive \"" + r.parola + "\" (" + metri(numero(&r, 0)) + ", " +
                       metri(numero(&r, 1)) + "): its start and end must be multiples of 50";
            }
        }
        d_.sorgente.reset();
        d_.riga = 0;
        return "a kilometric progressive's start or end is not a multiple of 50";
    }

    std::string troppe_stazioni() {
        int32_t cartelli = 0;
        for (const elemento_posto& e : posti_linea_)
            if (e.tipo == elemento::cartello_galleria) ++cartelli;
        return chi("station") + ": one station too many: stations and the " + std::to_string(cartelli) +
               " tunnel-name boards share the records 1 to 80, so at most " + std::to_string(78 - cartelli) +
               " stations fit";
    }

    std::string spaziatura() {
        // The station's record: the last one at this position whose area is too close.
        for (int i = prima_voce_cartelli - 1; i >= 2; --i) {
            const voce& v = s_.voci[static_cast<std::size_t>(i)];
            const voce& prima = s_.voci[static_cast<std::size_t>(i - 1)];
            if (v.valore3 != p_ || int64_t{v.valore1} - 350 >= prima.valore2) continue;
            const int64_t scarto = int64_t{v.valore1} - prima.valore2;
            std::string t = chi("station") + ": its area starts at " + metri(v.valore1) + ", ";
            t += scarto >= 0 ? "only " + metri(scarto) + " after" : "before";
            t += " the area of the previous station" + (prima.testo.empty() ? std::string() : ", " + prima.testo + ",") +
                 " ends (" + metri(prima.valore2) + "); 350 m are needed between them";
            return t;
        }
        return chi("station") + ": its area starts less than 350 m after the previous station's area ends";
    }

    std::string segnale_senza_segno(const errore_registrato& e) {
        const int64_t d = e.posizione / 50;
        std::string chi_e = "signal in the cell " + tratto(d);
        if (const elemento_posto* s = in_cella(elemento::segnale, 0, d)) {
            punta(*s);
            chi_e = descrivi(*s->riga);
        }
        return chi_e + ": both cells in front of it (" + tratto(d - 2, d - 1) +
               ") are taken, so it gets no mark for the slowdown whose advance point lies up to 1000 m after it";
    }

    std::string avvicinamento(const errore_registrato& e) {
        const int64_t i = e.posizione / 50;
        std::string chi_e = "slowdown starting in the cell " + tratto(i);
        if (const elemento_posto* r = in_cella(elemento::rallentamento, 0, i)) {
            punta(*r);
            chi_e = descrivi(*r->riga);
        }
        return chi_e +
               ": no free cell for one of its approach marks (250 to 350, 550 to 650 or 900 to 1000 m before its "
               "start cell)";
    }

    std::string ripetizione(const errore_registrato& e) {
        const int64_t k = e.posizione / 50;
        std::string chi_e = "slowdown";
        for (const elemento_posto& r : posti_corsa_) {
            if (r.tipo != elemento::rallentamento || r.celle.size() < 2) continue;
            if (r.celle[0] < k && k <= r.celle[1]) {
                punta(r);
                chi_e = descrivi(*r.riga);
                break;
            }
        }
        return chi_e + ": no free cell at " + tratto(k) +
               " for a repeat mark inside the slowdown, or for the mark in front of the first signal after its end";
    }

    std::string fuori_percorso(const errore_registrato& e) {
        const int64_t proprio = r_ && !r_->numeri.empty() ? r_->numeri[0] : p_;
        const bool stazione = r_ && r_->tipo == elemento::stazione;
        const int64_t margine = stazione ? 800 : 100;
        const int64_t ultimo = int64_t{s_.n_celle} * 50 - margine;
        const int64_t p_salvo = p_;
        p_ = proprio;
        std::string t = chi("line") + ": ";
        p_ = p_salvo;
        if (proprio < 0) {
            t += "lies before the start of the route";
        } else if (static_cast<double>(proprio + margine) / 50.0 > s_.n_celle) {
            t += "too close to or beyond the end of the route; " + std::string(stazione ? "a station" : "a position") +
                 " may lie at most at " + metri(ultimo) + " (the route is " + metri(s_.voci[voce_treno].valore2) +
                 " long, plus 7000 m of run-off)";
        } else if (r_ && r_->tipo == elemento::rallentamento) {
            t += "its end, at " + metri(proprio + numero(r_, 2)) + ", lies beyond the end of the route";
        } else if (stazione) {
            t += "its station area or stop lies beyond the end of the route, or outside 32 bits";
        } else {
            t += "lies outside the route";
        }
        // An error 15 of the line description makes the run description stop at
        // its first signal or slowdown, whose position the error record takes.
        if (e.luogo.valido && e.luogo.sorgente == sorgente_testo::linea && e.con_posizione && r_ &&
            !r_->numeri.empty() && e.posizione != r_->numeri[0])
            t += "; the run description was then read up to its first signal or slowdown line, at " +
                 metri(e.posizione) + ", and the error record took that position";
        return t;
    }

    std::string timbro(int32_t codice) {
        const bool identita = codice == 1250;
        const char* campo = identita ? "dato1" : "dato2";
        if (s_.celle.size() > 1) {
            const cella& c = s_.celle[1];
            const int16_t valore = identita ? c.dato1 : c.dato2;
            if (valore != 0) {
                std::string t = std::string(identita ? "identity stamp" : "competition code stamp") + ": cell 1 (" +
                                tratto(1) + ") already holds " + cosa_sta(c.tipo) + " with " + campo + " = " +
                                std::to_string(valore);
                const elemento_posto* trovato = nullptr;
                for (const auto* posti : {&posti_linea_, &posti_corsa_})
                    for (const elemento_posto& e : *posti)
                        for (int32_t x : e.celle)
                            if (x == 1) trovato = &e;
                if (trovato) {
                    punta(*trovato);
                    t += " (the " + descrivi(*trovato->riga) + ")";
                }
                return t + "; the compiler stamps the scenario " + (identita ? "identity" : "competition code") +
                       " there, so nothing may stand in cell 1; no file was written";
            }
        }
        return std::string(identita ? "identity stamp" : "competition code stamp") +
               ": the stamp slot of record 85 is already in use; no file was written";
    }

    const stato_scenario& s_;
    const sorgenti_compilate& t_;
    std::vector<riga_sorgente> righe_linea_;
    std::vector<riga_sorgente> righe_corsa_;
    std::vector<elemento_posto> posti_linea_;
    std::vector<elemento_posto> posti_corsa_;

    // The diagnosis being composed, the line behind it and its position.
    diagnosi d_;
    const riga_sorgente* r_ = nullptr;
    int64_t p_ = 0;
};

}  // namespace

const char* nome_gravita(gravita_errore g) {
    switch (g) {
        case gravita_errore::lettura: return "reader";
        case gravita_errore::finitura: return "sweep";
        case gravita_errore::fatale: return "fatal";
    }
    return "reader";
}

const char* effetto_gravita(gravita_errore g) {
    switch (g) {
        case gravita_errore::lettura: return "reading stopped there";
        case gravita_errore::finitura: return "the compile went on";
        case gravita_errore::fatale: return "the compile stopped, no file written";
    }
    return "";
}

std::vector<diagnosi> diagnostica(const stato_scenario& s, const sorgenti_compilate& sorgenti,
                                  const std::optional<std::string>& timbro) {
    compositore c(s, sorgenti);
    std::vector<diagnosi> elenco;
    elenco.reserve(s.errori.size() + 1);
    for (const errore_registrato& e : s.errori) elenco.push_back(c.componi(e));
    if (timbro) {
        const int32_t codice = *timbro == "1251" ? 1251 : 1250;
        if (elenco.empty() || elenco.back().codice != codice) elenco.push_back(c.componi_fatale(codice));
    }
    return elenco;
}

}  // namespace scenario::strumento
