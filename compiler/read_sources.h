// Reading the two text sources into the scenario state.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/compile_options.h"
#include "compiler/source_store.h"
#include "compiler/state.h"

#include <cstdint>

namespace scenario {

// Reads the line description, then (after a normal end or error 15) the run
// description. Every error goes into the error record; a read failure anywhere
// removes both text sources and records error 25. Never throws. With a log,
// every error, every item's line and, with `record_fields`, every field read
// go there. A plan limit the route exceeds stops reading (compile_options):
// the line description is deleted, the run description stays.
reading_end memorizza_dati(stato_scenario& s, archivio_sorgenti& sorgenti, compile_log* log = nullptr,
                           const compile_options& options = {});

// Thrown by the line phase when the route needs more plan points than the
// compile's limit allows; memorizza_dati turns it into its reading_end.
struct limite_tracciato_superato {};

// The line phase. `prosegui`: the run phase follows (normal end or error 15).
// `slot_cartelli`: the `voci` slot the next tunnel-name board would take.
struct esito_fase_linea {
    bool prosegui = false;
    int32_t slot_cartelli = prima_voce_cartelli;
};
// `at` follows the line being read. Throws errore_lettura on a read failure,
// limite_tracciato_superato when the route needs more plan points than
// `plan_point_limit` (before anything of the route is made).
esito_fase_linea leggi_descrizione_linea(stato_scenario& s, archivio_sorgenti& sorgenti, log_at& at,
                                         bool record_fields, std::optional<int32_t> plan_point_limit = {});

// The run phase; `at` follows the line being read. Throws errore_lettura on a
// read failure.
void leggi_descrizione_corsa(stato_scenario& s, archivio_sorgenti& sorgenti, int32_t slot_cartelli,
                             log_at& at, bool record_fields);

}  // namespace scenario
