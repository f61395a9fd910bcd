// The compile driver: from the two text sources to the three compiled files.
#pragma once

#include "common/file_replace.h"
#include "common/result.h"
#include "compiler/compile_log.h"
#include "compiler/compile_options.h"
#include "compiler/error_codes.h"
#include "compiler/source_store.h"
#include "compiler/state.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace scenario {

// Why a compile stopped the program.
struct arresto_fatale {
    enum class motivo {
        timbro,  // an identity stamp slot was in use: `errore` says which, for errore()
        file,    // a compiled file could not be replaced: `guasto` says which, at which step, why
    };
    motivo perche = motivo::timbro;
    error_code errore = error_code::none;
    file_failure guasto;  // the facts, so each caller words them in its readers' language
};

// Stamps the identity values and the competition codes into `voci`(85) and
// cell 1. Gives the stamp error (1250 or 1251) when a slot is already in use,
// and notes it in `log`. Without route cells only `voci`(85) is stamped.
std::optional<error_code> timbra_scenario(stato_scenario& s, compile_log* log = nullptr);

// Reads, finishes and stamps the scenario (everything but writing). Gives the
// stamp error when a stamp slot is already in use. Starts from an empty error
// record, empty `voci`, no route and an empty `log`, so the same state and log
// may serve again. Reading errors stay in the record and do not stop it. The
// log changes nothing in the state: with or without it the state is the same.
// With a plan limit that the route exceeds, reading stops at the route length
// (see compile_options) and the log says so; sweep and stamps run on the empty
// route as after any line description without a route.
std::optional<error_code> compila_scenario(stato_scenario& s, int32_t j, archivio_sorgenti& sorgenti,
                                           const compile_options& options = {}, compile_log* log = nullptr);

// The whole compile: compila_scenario, then the compiled files into `cartella`
// (none of them after a stamp error). Gives the reason when the program must
// stop; recorded errors are in the state (and in `log`). Without route cells
// (no line description, or none readable) the cell file is written empty.
// A plan limit in `options` is not applied: the files are always those of the
// whole route.
result<void, arresto_fatale> memorizza_percorso(stato_scenario& s, int32_t& j, archivio_sorgenti& sorgenti,
                                                const std::filesystem::path& cartella,
                                                const compile_options& options = {},
                                                compile_log* log = nullptr);

}  // namespace scenario
