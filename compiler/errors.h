// The error record: recording an error in the state and noting it in the log,
// and describing a logged error in words.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/error_codes.h"
#include "compiler/state.h"

#include <cstdint>
#include <optional>
#include <string>

namespace scenario {

// Records error `c`; `posizione_errore` keeps its value.
void registra_errore(stato_scenario& s, const log_at& at, error_code c);
// Records error `c` at `posizione` metres.
void registra_errore(stato_scenario& s, const log_at& at, error_code c, int32_t posizione);
// Records error `c` about route cell `cella` (a cell found taken, a stop cell
// that lies too early), at `posizione` metres when given.
void registra_errore_cella(stato_scenario& s, const log_at& at, error_code c,
                           std::optional<int32_t> posizione, int32_t cella);
// Records error `c` at `posizione` metres, found after reading (the finishing
// sweep) about the item in cell `cella`: the line behind it is the one that
// placed that item.
void registra_errore_finitura(stato_scenario& s, compile_log* log, error_code c, int32_t posizione,
                              int32_t cella);
// Logs a stamp error for diagnostics, with the line that placed what stands
// in the stamped cell `cella`, when the route has it. The error record stays
// as it is: the stamp error is reported by the fatal message that ends the
// program, not kept in the record.
void annota_errore_timbro(const stato_scenario& s, compile_log* log, error_code c, int32_t cella);
// Sets `posizione_errore` after the fact (the caller of a recording step knows
// the position of the line). The last logged error gets it too when it was
// recorded on the line being read; an error an earlier line left keeps its own
// position and line, and the stop at this line is logged as an entry of its
// own with the same code.
void imposta_posizione_errore(stato_scenario& s, const log_at& at, int32_t posizione);

// One line for a person: number, description, position and source line where
// known, and why reading failed.
std::string messaggio_errore(const logged_error& e);

}  // namespace scenario
