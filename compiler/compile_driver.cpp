#include "compiler/compile_driver.h"

#include "compiler/competition_codes.h"
#include "compiler/compiled_files.h"
#include "compiler/errors.h"
#include "compiler/finishing_sweep.h"
#include "compiler/low_bits.h"
#include "compiler/read_sources.h"
#include "compiler/warnings.h"

#include <cstddef>

namespace scenario {

namespace {

constexpr int16_t identita_voce = 610;
constexpr int16_t identita_cella = 5121;

// A compile starts with an empty error record and empty `voci` records. The
// route and the plan are dropped too, so a state compiled again never carries
// cells or stamps of the previous compile into this one; the line reader
// makes them anew from the route length (in the storage they had, so a
// caller compiling many scenarios does not map a new plan each time).
void prepara(stato_scenario& s, int32_t j, const compile_options& options, compile_log* log) {
    s.compila_linea = j;
    s.codice_errore = 0;
    s.posizione_errore = 0;
    for (voce& v : s.voci)
        v = voce{};
    s.celle.clear();
    s.n_celle = 0;
    s.lunghezza_estesa = 0;
    s.tracciato.ultimo_punto = -1;
    s.tracciato.valori.clear();
    s.tracciato.keep_points = options.keep_plan_points;
    s.tracciato.started = false;
    s.tracciato.runs.clear();
    if (log != nullptr)
        *log = compile_log{};
}

}  // namespace

std::optional<error_code> timbra_scenario(stato_scenario& s, compile_log* log) {
    voce& scenario = s.voci[voce_scenario];
    // Without a route (the line description was missing or had no general
    // section) there is no cell 1: only the record is stamped.
    cella* prima = s.celle.size() > cella_timbrata ? &s.celle[cella_timbrata] : nullptr;

    // A stamp error is logged for diagnostics; the program reports it with
    // its fatal message, so the error record is left as it is.
    if (scenario.intero1 != 0 || (prima != nullptr && prima->dato1 != 0)) {
        annota_errore_timbro(s, log, error_code::identity_stamp_in_use, static_cast<int32_t>(cella_timbrata));
        return error_code::identity_stamp_in_use;
    }
    scenario.intero1 = identita_voce;
    if (prima != nullptr)
        prima->dato1 = identita_cella;

    if (scenario.valore4 != 0 || (prima != nullptr && prima->dato2 != 0)) {
        annota_errore_timbro(s, log, error_code::competition_code_stamp_in_use,
                             static_cast<int32_t>(cella_timbrata));
        return error_code::competition_code_stamp_in_use;
    }
    scenario.valore4 = codice_gara_st(s);
    if (prima != nullptr)
        prima->dato2 = basso16(codice_gara_og(s));
    return std::nullopt;
}

std::optional<error_code> compila_scenario(stato_scenario& s, int32_t j, archivio_sorgenti& sorgenti,
                                           const compile_options& options, compile_log* log) {
    prepara(s, j, options, log);
    // Reading errors stay in the record; the compile goes on with what was read.
    memorizza_dati(s, sorgenti, log, options);
    // Warnings are found from the recorded fields; they change nothing.
    if (log != nullptr && options.record_fields)
        find_warnings(s, *log);
    rifinisci_percorso(s, log);
    return timbra_scenario(s, log);
}

result<void, arresto_fatale> memorizza_percorso(stato_scenario& s, int32_t& j, archivio_sorgenti& sorgenti,
                                                const std::filesystem::path& cartella,
                                                const compile_options& options, compile_log* log) {
    // Files for the simulator always come from the whole route: a plan limit
    // is for compiles that write nothing.
    compile_options senza_limite = options;
    senza_limite.plan_point_limit.reset();
    if (auto timbro = compila_scenario(s, j, sorgenti, senza_limite, log))
        return failure{arresto_fatale{arresto_fatale::motivo::timbro, *timbro, {}}};
    if (auto scritti = scrivi_file_compilati(s, cartella); !scritti)
        return failure{arresto_fatale{arresto_fatale::motivo::file, error_code::none, scritti.error()}};
    return {};
}

}  // namespace scenario
