// Reading a line description from memory, for the line reader tests.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/read_sources.h"
#include "compiler/source_store.h"
#include "compiler/state.h"

#include <initializer_list>
#include <string>

namespace scenario::prova {

// Lines joined with CR LF after each, as the writers produce them.
inline std::string righe(std::initializer_list<std::string> l) {
    std::string r;
    for (const std::string& x : l)
        r += x + "\r\n";
    return r;
}

// A file with a general section of `generale` lines, then `corpo` after "[curve]".
inline std::string descrizione(const std::string& corpo,
                               const std::string& generale = "lunghezza percorso, 40000\r\n") {
    return "[generale]\r\n" + generale + "[curve]\r\n" + corpo + "[fine]\r\n";
}

// The line phase run on `testo`, with the run description present beside it.
struct lettura_linea {
    stato_scenario s;
    compile_log log;
    sorgenti_in_memoria sorgenti;
    esito_fase_linea esito;

    explicit lettura_linea(std::string testo, int32_t compila_linea = 1)
        : sorgenti(std::move(testo), std::string("[generale]\r\n[fine]\r\n")) {
        s.compila_linea = compila_linea;
        log_at at{&log, {}};
        esito = leggi_descrizione_linea(s, sorgenti, at, true);
    }
    bool linea_eliminata() const { return !sorgenti.esiste(sorgente_testo::linea); }
    bool corsa_eliminata() const { return !sorgenti.esiste(sorgente_testo::corsa); }
    double x(int32_t p) const { return s.tracciato.at(p, 0).numero(); }
    double y(int32_t p) const { return s.tracciato.at(p, 1).numero(); }
};

// The line phase alone, nothing logged; for the tests that expect it to throw.
inline esito_fase_linea leggi_linea(stato_scenario& s, archivio_sorgenti& sorgenti) {
    log_at at;
    return leggi_descrizione_linea(s, sorgenti, at, false);
}

}  // namespace scenario::prova
