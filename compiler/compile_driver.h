// The compile driver: from the two text sources to the three compiled files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "source_store.h"
#include "state.h"

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

// Reads, finishes and stamps the scenario (everything but writing). Gives the
// stamp error number ("1250" or "1251") when a stamp slot is already in use.
std::optional<std::string> compila_scenario(stato_scenario& s, int32_t j, archivio_sorgenti& sorgenti);

// The whole compile: compila_scenario, then the compiled files into `cartella`.
// Gives the reason when the program must stop; recorded errors are in the state.
std::optional<arresto_fatale> memorizza_percorso(stato_scenario& s, int32_t& j, archivio_sorgenti& sorgenti,
                                                 const std::filesystem::path& cartella);

}  // namespace scenario
