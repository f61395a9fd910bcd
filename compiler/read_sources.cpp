// memorizza_dati: both text sources into the scenario state, with the single
// handler that turns any read failure into error 25.
#include "compiler/read_sources.h"

#include "compiler/errors.h"
#include "compiler/field_reader.h"

#include <new>

namespace scenario {

namespace {
// A read failure anywhere: both sources go (where they still exist) and the
// error record says 25; the position of an earlier error stays. The log keeps
// why reading failed.
void fallimento_lettura(stato_scenario& s, archivio_sorgenti& sorgenti, const log_at& at, const char* motivo,
                        const source_place& riga_valore = {}) {
    for (sorgente_testo t : {sorgente_testo::linea, sorgente_testo::corsa})
        if (sorgenti.esiste(t))
            sorgenti.elimina(t);
    registra_errore(s, at, error_code::read_failure);
    if (at.log != nullptr) {
        logged_error& e = at.log->errors.back();
        e.detail = motivo;
        // The field in hand when reading failed: the last one recorded.
        if (!at.log->fields.empty())
            e.failed_field = static_cast<int32_t>(at.log->fields.size() - 1);
        e.value_line = riga_valore;
        at.log->read_failure = motivo;
    }
}
}  // namespace

reading_end memorizza_dati(stato_scenario& s, archivio_sorgenti& sorgenti, compile_log* log,
                           const compile_options& options) {
    log_at at{log, {}};
    s.voci[voce_scenario].testo = s.nome_scenario;
    s.voci[voce_identita_treno].testo = s.numero_treno;
    try {
        const esito_fase_linea linea =
            leggi_descrizione_linea(s, sorgenti, at, options.record_fields, options.plan_point_limit);
        if (linea.prosegui)
            leggi_descrizione_corsa(s, sorgenti, linea.slot_cartelli, at, options.record_fields);
    } catch (const limite_tracciato_superato&) {
        // Not an error of the sources: the caller chose not to build so long
        // a plan. The line description goes as after any stop of its reader.
        if (sorgenti.esiste(sorgente_testo::linea))
            sorgenti.elimina(sorgente_testo::linea);
        if (log != nullptr)
            log->plan_limit_reached = true;
        return reading_end::plan_limit_reached;
    } catch (const errore_lettura& e) {
        fallimento_lettura(s, sorgenti, at, e.what(), e.riga_valore());
    } catch (const std::bad_alloc&) {
        // A source too large to hold is a source that cannot be read.
        fallimento_lettura(s, sorgenti, at, "the source is too large to hold in memory");
    }
    return reading_end::read;
}

}  // namespace scenario
