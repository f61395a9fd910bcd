// Turning the errors a compile recorded into messages for the author of the
// sources: what element, at which position, what is wrong, and the file and
// line that caused it. Everything but the quoted text of a line comes from the
// compile itself: its error log, its cells and where their items came from.
#pragma once

#include "compiler/errors.h"
#include "compiler/state.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::strumento {

struct diagnosi {
    int32_t codice = 0;
    gravita_errore gravita = gravita_errore::lettura;
    std::optional<int32_t> posizione;        // metres, when the error records one
    std::optional<sorgente_testo> sorgente;  // the source of the line behind it, when known
    int32_t riga = 0;                        // 1-based line in that source; 0 when not known
    std::string messaggio;  // e.g. "signal at 3650 m: its cell (3700 to 3750 m) is already taken ..."
};

// The text sources the compile read, for quoting their lines.
struct sorgenti_compilate {
    std::string_view linea;  // the bytes of the line description
    std::string_view corsa;  // the bytes of the run description
};

// One diagnosis per error in `s.errori`, in order; when `timbro` holds a stamp
// error ("1250"/"1251") that the log does not end with, a fatal diagnosis for
// it comes last. `s` is the state the compile left.
std::vector<diagnosi> diagnostica(const stato_scenario& s, const sorgenti_compilate& sorgenti,
                                  const std::optional<std::string>& timbro);

// "reader", "sweep" or "fatal".
const char* nome_gravita(gravita_errore g);
// What the severity means for the compile, in a few words.
const char* effetto_gravita(gravita_errore g);

}  // namespace scenario::strumento
