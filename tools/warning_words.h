// The warnings a compile noted, in the author's words: what the compiler did
// with a line it read without an error.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/state.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario::tool {

struct avviso {
    warning_code code = warning_code::unknown_keyword;
    std::optional<sorgente_testo> sorgente;  // none: about the command line (the scenario name)
    int32_t riga = 0;                        // 1-based; 0 when not tied to a line
    int32_t prima_colonna = 0;               // 1-based byte columns; 0 when not known
    int32_t ultima_colonna = 0;
    std::string messaggio;
};

struct avvisi {
    std::vector<avviso> elenco;  // in the order found, the ignored codes left out
    // Per code, the warnings found beyond those described (the compile keeps
    // a limited number of each).
    std::vector<std::pair<warning_code, uint32_t>> non_mostrati;
};

avvisi descrivi_avvisi(const stato_scenario& s, const compile_log& log,
                       const std::vector<warning_code>& ignorati);

}  // namespace scenario::tool
