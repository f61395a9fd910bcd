// The error record: recording an error, and describing one in words.
#pragma once

#include <cstdint>
#include <string>

#include "state.h"

namespace scenario {

// Records error `codice`; `posizione_errore` keeps its value.
void registra_errore(stato_scenario& s, int32_t codice);
// Records error `codice` at `posizione` metres.
void registra_errore(stato_scenario& s, int32_t codice, int32_t posizione);
// Sets `posizione_errore` after the fact (the caller of a recording step knows
// the position of the line); the last recorded error gets it too.
void imposta_posizione_errore(stato_scenario& s, int32_t posizione);

enum class gravita_errore {
    lettura,   // stopped the reader; the compile went on with what was read
    finitura,  // found by the finishing sweep, which went on
    fatale,    // identity stamp slot in use: the program ends, nothing is written
};
gravita_errore gravita(int32_t codice);

// What the error means, in a few English words ("signal cell already taken").
std::string descrizione_errore(int32_t codice);
// One line for a person: number, description, position and source line where known.
std::string messaggio_errore(const errore_registrato& e);

}  // namespace scenario
