#include "compiler/errors.h"

#include "compiler/provenance.h"

namespace scenario {

namespace {
errore_registrato& annota(stato_scenario& s, int32_t codice, bool con_posizione) {
    errore_registrato e;
    e.codice = codice;
    e.posizione = s.posizione_errore;
    e.con_posizione = con_posizione;
    e.luogo = s.lettura;
    s.errori.push_back(e);
    return s.errori.back();
}

bool stessa_riga(const luogo_lettura& a, const luogo_lettura& b) {
    return a.valido && b.valido && a.sorgente == b.sorgente && a.riga == b.riga;
}
}  // namespace

void registra_errore(stato_scenario& s, int32_t codice) {
    s.codice_errore = codice;
    annota(s, codice, false);
}

void registra_errore(stato_scenario& s, int32_t codice, int32_t posizione) {
    s.codice_errore = codice;
    s.posizione_errore = posizione;
    annota(s, codice, true);
}

void registra_errore_cella(stato_scenario& s, int32_t codice, std::optional<int32_t> posizione,
                           int32_t cella) {
    if (posizione)
        registra_errore(s, codice, *posizione);
    else
        registra_errore(s, codice);
    s.errori.back().cella = cella;
}

void registra_errore_finitura(stato_scenario& s, int32_t codice, int32_t posizione, int32_t cella) {
    registra_errore(s, codice, posizione);
    s.errori.back().luogo = origine_cella(s, cella);
    s.errori.back().cella = cella;
}

void annota_errore_timbro(stato_scenario& s, int32_t codice, int32_t cella) {
    errore_registrato& e = annota(s, codice, false);
    if (cella >= 0 && static_cast<std::size_t>(cella) < s.celle.size()) {
        e.luogo = origine_cella(s, cella);
        e.cella = cella;
    }
}

void imposta_posizione_errore(stato_scenario& s, int32_t posizione) {
    s.posizione_errore = posizione;
    if (!s.errori.empty() && stessa_riga(s.errori.back().luogo, s.lettura)) {
        s.errori.back().posizione = posizione;
        s.errori.back().con_posizione = true;
        return;
    }
    if (s.codice_errore != 0)
        annota(s, s.codice_errore, true).arresto_ereditato = true;
}

gravita_errore gravita(int32_t codice) {
    if (codice == 1250 || codice == 1251)
        return gravita_errore::fatale;
    if (codice >= 11 && codice <= 13)
        return gravita_errore::finitura;
    return gravita_errore::lettura;
}

std::string descrizione_errore(int32_t codice) {
    switch (codice) {
        case 1:
            return "route length above 1000000 m";
        case 2:
            return "kilometric progressive start or end not a multiple of 50";
        case 3:
            return "first signal repetition distance not a multiple of 50";
        case 4:
            return "second signal repetition distance not a multiple of 50";
        case 5:
            return "signal repetition keyword names neither 4 nor 9 codes";
        case 6:
            return "tunnel-name board: its cell is already taken";
        case 7:
            return "abbattimento point: its cell is already taken";
        case 8:
            return "station position not a multiple of 50";
        case 9:
            return "station area length not a multiple of 100";
        case 10:
            return "too many stations: the station records reach the board records";
        case 11:
            return "no free cell in front of a signal behind a slowdown advance point";
        case 12:
            return "no free cell for an approach mark before a slowdown start";
        case 13:
            return "no free cell for a repeat mark or for the mark in front of the signal after a slowdown";
        case 15:
            return "position too close to or beyond the end of the route";
        case 16:
            return "signal: its cell is already taken";
        case 17:
            return "slowdown: its advance cell, 1200 m before the start, is already taken";
        case 18:
            return "slowdown: its start cell is already taken";
        case 19:
            return "slowdown: its end cell is already taken";
        case 20:
            return "slowdown: one of its four approach cells is already taken";
        case 21:
            return "maximum-speed board: its cell is already taken";
        case 22:
            return "station area starts less than 350 m after the previous station's area";
        case 24:
            return "station stop cell lies before cell 2";
        case 25:
            return "the text sources could not be read (missing, unreadable, a number out of range, or a "
                   "line outside the route)";
        case 101:
            return "the line description file does not exist";
        case 102:
            return "the line description ends before its [generale] section";
        case 103:
            return "curve without a class digit 1 to 6, or curve points beyond 1000000 m";
        case 1250:
            return "identity slot already in use";
        case 1251:
            return "competition code slot already in use";
        default:
            return "unknown error";
    }
}

std::string messaggio_errore(const errore_registrato& e) {
    std::string testo = "error " + std::to_string(e.codice) + ": " + descrizione_errore(e.codice);
    if (e.con_posizione)
        testo += " (at " + std::to_string(e.posizione) + " m)";
    if (e.luogo.valido) {
        testo += e.luogo.sorgente == sorgente_testo::linea ? " [line description" : " [run description";
        testo += ", line " + std::to_string(e.luogo.riga) + "]";
    }
    if (e.arresto_ereditato)
        testo += ": the run description stopped at this line for the error before";
    if (!e.dettaglio.empty())
        testo += ": " + e.dettaglio;
    return testo;
}

}  // namespace scenario
