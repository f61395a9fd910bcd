// Stations: a "stazione" line of the run description read into the next
// station record of `voci`, with its stop cell and the four approach markers
// ahead of it in the route cells.
#pragma once

#include "compiler/field_reader.h"
#include "compiler/state.h"

#include <cstdint>

namespace scenario {

enum class esito_stazione {
    registrata,      // record and cells written, counter raised
    fuori_percorso,  // error 15: the reader stops reading and still finishes the file
    errore,          // any other error: the reader stops at once
};

// Longest station name the run file can hold (its texts carry a 16-bit length).
inline constexpr std::size_t lunghezza_massima_nome = 32767;

// Reads the 17 fields after a "stazione" keyword into voci(contatore) and marks
// its cells; raises `contatore` on success. `slot_cartelli` is the slot the
// next tunnel-name board would have taken: station records must stay below it.
// Errors: 15, 8, 9, 24, 22, 10 (recorded in `s`). Throws errore_lettura on a
// read failure, a name longer than lunghezza_massima_nome, or when the route
// cells do not exist.
esito_stazione memo_stazione(stato_scenario& s, lettore_campi& lettore, int32_t& contatore,
                             int32_t slot_cartelli, const log_at& at = {});

}  // namespace scenario
