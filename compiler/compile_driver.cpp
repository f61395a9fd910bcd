// Placeholder until the compile driver lands.
#include "compile_driver.h"

namespace scenario {
std::optional<std::string> compila_scenario(stato_scenario& s, int32_t j, archivio_sorgenti&) {
    s.compila_linea = j;
    return std::nullopt;
}
std::optional<arresto_fatale> memorizza_percorso(stato_scenario& s, int32_t& j, archivio_sorgenti& sorgenti,
                                                 const std::filesystem::path&) {
    if (auto timbro = compila_scenario(s, j, sorgenti)) return arresto_fatale{arresto_fatale::motivo::timbro, *timbro};
    return std::nullopt;
}
}  // namespace scenario
