// Turning the errors a compile recorded into messages for the author of the
// sources: what element, at which position, what is wrong, and the file and
// line that caused it. Everything comes from the compile itself: its log of
// errors and of the fields it read, its cells and where their items came from.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/error_codes.h"
#include "compiler/state.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario::tool {

struct diagnosi {
    error_code code = error_code::none;
    int32_t codice = 0;  // its number
    error_severity gravita = error_severity::reader_stop;
    std::optional<int32_t> posizione;        // metres, when the error records one
    std::optional<sorgente_testo> sorgente;  // the source of the line behind it, when known
    int32_t riga = 0;                        // 1-based line in that source; 0 when not known
    std::string messaggio;  // e.g. "signal at 3650 m: its cell (3700 to 3750 m) is already taken ..."
};

// One diagnosis per error in `log.errors`, in order; when `timbro` holds a
// stamp error that the log does not end with, a fatal diagnosis for it comes
// last. `s` and `log` are what the compile left.
std::vector<diagnosi> diagnostica(const stato_scenario& s, const compile_log& log,
                                  const std::optional<error_code>& timbro);

// "reader", "sweep" or "fatal".
const char* nome_gravita(error_severity g);
// What the severity means for the compile, in a few words.
const char* effetto_gravita(error_severity g);

}  // namespace scenario::tool
