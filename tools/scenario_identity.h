// The identity of the program's own scenario, which names its files.
#pragma once

namespace scenario::strumento {
inline constexpr const char* nome_scenario_programma = "Calvena_Roccalba";
inline constexpr const char* numero_treno_programma = "4127";
}  // namespace scenario::strumento
