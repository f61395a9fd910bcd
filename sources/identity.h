// The identity of the program's own scenario: its name and train number name
// every file the program writes, and the fixed lines of the sources describe it.
#pragma once

namespace scenario::sorgenti {

inline constexpr const char* nome_scenario = "Calvena_Roccalba";
inline constexpr const char* numero_treno = "4127";

}  // namespace scenario::sorgenti
