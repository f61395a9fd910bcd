// The error record: recording an error, and describing one in words.
#pragma once

#include "compiler/state.h"

#include <cstdint>
#include <optional>
#include <string>

namespace scenario {

// Records error `codice`; `posizione_errore` keeps its value.
void registra_errore(stato_scenario& s, int32_t codice);
// Records error `codice` at `posizione` metres.
void registra_errore(stato_scenario& s, int32_t codice, int32_t posizione);
// Records error `codice` about route cell `cella` (a cell found taken, a stop
// cell that lies too early), at `posizione` metres when given.
void registra_errore_cella(stato_scenario& s, int32_t codice, std::optional<int32_t> posizione,
                           int32_t cella);
// Records error `codice` at `posizione` metres, found after reading (the
// finishing sweep) about the item in cell `cella`: the line behind it is the
// one that placed that item.
void registra_errore_finitura(stato_scenario& s, int32_t codice, int32_t posizione, int32_t cella);
// Logs a stamp error (1250, 1251) for diagnostics, with the line that placed
// what stands in the stamped cell `cella`, when the route has it. The error
// record stays as it is: the stamp error is reported by the fatal message that
// ends the program, not kept in the record.
void annota_errore_timbro(stato_scenario& s, int32_t codice, int32_t cella);
// Sets `posizione_errore` after the fact (the caller of a recording step knows
// the position of the line). The last logged error gets it too when it was
// recorded on the line being read; an error an earlier line left keeps its own
// position and line, and the stop at this line is logged as an entry of its
// own with the same code.
void imposta_posizione_errore(stato_scenario& s, int32_t posizione);

enum class gravita_errore {
    lettura,   // stopped the reader; the compile went on with what was read
    finitura,  // found by the finishing sweep, which went on
    fatale,    // identity stamp slot in use: the program ends, nothing is written
};
gravita_errore gravita(int32_t codice);

// What the error means, in a few English words ("signal cell already taken").
std::string descrizione_errore(int32_t codice);
// One line for a person: number, description, position and source line where
// known, and why reading failed.
std::string messaggio_errore(const errore_registrato& e);

}  // namespace scenario
