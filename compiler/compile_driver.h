// The compile driver: from the two text sources to the three compiled files.
#pragma once

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
        timbro,  // an identity stamp slot was in use: `testo` is "1250" or "1251", for errore()
        file,    // a compiled file could not be replaced: `testo` names the file and the failure
    };
    motivo perche = motivo::timbro;
    std::string testo;
};

// Stamps the identity values and the competition codes into `voci`(85) and
// cell 1. Gives "1250" or "1251" when a slot is already in use. Without route
// cells only `voci`(85) is stamped.
std::optional<std::string> timbra_scenario(stato_scenario& s);

// Reads, finishes and stamps the scenario (everything but writing). Gives the
// stamp error number ("1250" or "1251") when a stamp slot is already in use.
// Starts from an empty error record, empty `voci` and no route, so the same
// state may be compiled again. Reading errors stay in the record and do not
// stop it.
std::optional<std::string> compila_scenario(stato_scenario& s, int32_t j, archivio_sorgenti& sorgenti);

// The whole compile: compila_scenario, then the compiled files into `cartella`
// (none of them after a stamp error). Gives the reason when the program must
// stop; recorded errors are in the state. Without route cells (no line
// description, or none readable) the cell file is written empty.
std::optional<arresto_fatale> memorizza_percorso(stato_scenario& s, int32_t& j, archivio_sorgenti& sorgenti,
                                                 const std::filesystem::path& cartella);

}  // namespace scenario
