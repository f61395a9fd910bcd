// Reading the two text sources into the scenario state.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/source_store.h"
#include "compiler/state.h"

#include <cstdint>

namespace scenario {

// Reads the line description, then (after a normal end or error 15) the run
// description. Every error goes into the error record; a read failure anywhere
// removes both text sources and records error 25. Never throws. With a log,
// every error, every item's line and, with `record_fields`, every field read
// go there.
void memorizza_dati(stato_scenario& s, archivio_sorgenti& sorgenti, compile_log* log = nullptr,
                    bool record_fields = true);

// The line phase. `prosegui`: the run phase follows (normal end or error 15).
// `slot_cartelli`: the `voci` slot the next tunnel-name board would take.
struct esito_fase_linea {
    bool prosegui = false;
    int32_t slot_cartelli = prima_voce_cartelli;
};
// `at` follows the line being read. Throws errore_lettura on a read failure.
esito_fase_linea leggi_descrizione_linea(stato_scenario& s, archivio_sorgenti& sorgenti, log_at& at,
                                         bool record_fields);

// The run phase; `at` follows the line being read. Throws errore_lettura on a
// read failure.
void leggi_descrizione_corsa(stato_scenario& s, archivio_sorgenti& sorgenti, int32_t slot_cartelli,
                             log_at& at, bool record_fields);

}  // namespace scenario
