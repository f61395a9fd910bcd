// The line description reader (the first phase of memorizza_dati, declared in
// read_sources.h) and the steps it uses to record what the line holds.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/field_reader.h"
#include "compiler/low_bits.h"
#include "compiler/state.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// Puts the three kilometric progressive triples of voci 81..83 in their final
// order (the largest first); with `at`, their origins in the log move with
// them. Throws errore_lettura when adding 100 to a value would leave 32 bits
// (with `at` pointing at the progressive's line).
void progressive_ordina(stato_scenario& s, log_at* at = nullptr);

// Records one tunnel from `inizio` to `fine` metres; a class above 10 marks a
// long tunnel, whose every 4th cell gets a lamp mark where nothing stands.
// Throws errore_lettura when the tunnel list is full or the tunnel does not lie
// on the route (negative start, end beyond the last cell).
void memo_montagna(stato_scenario& s, int32_t inizio, int32_t fine, int32_t tipo, const log_at& at = {});

// Records one maximum-speed board in the cell after `posizione`. False, with
// error 21 at `posizione`, when that cell is taken (nothing is written).
// Throws errore_lettura for a cell outside the route or a value beyond 16 bits.
bool memo_indicatori_v_max(stato_scenario& s, int32_t posizione, int32_t vas, int32_t vbs, int32_t vcs,
                           int32_t strisces, int32_t vad, int32_t vbd, int32_t vcd, int32_t strisced,
                           const log_at& at = {});

// Records one tunnel-name board in the cell after `posizione`, its text in
// `voci`(slot). False, with error 6 at `posizione`, when that cell is taken.
// Throws errore_lettura for a cell outside the route, a slot outside 1..80 (the
// boards would run into the stations) or a text too long for the run file.
bool memo_cartello_galleria(stato_scenario& s, int32_t posizione, const std::string& testo, int32_t slot,
                            const log_at& at = {});

// Pieces shared by the files of the line reader.
namespace lettura_linea {

// A real value rounded to the nearest whole number, halves to even.
inline double arrotonda(double v) {
    return std::nearbyint(v);
}

// The last cell index of a route whose track plan ends at point
// `lunghezza_estesa`: n_celle.
inline int32_t ultima_cella(int32_t lunghezza_estesa) {
    return int32_t(arrotonda(lunghezza_estesa / 50.0));
}

// True when `parte` stands anywhere in `testo`: every keyword test is a substring test.
inline bool contiene(std::string_view testo, std::string_view parte) {
    return testo.find(parte) != std::string_view::npos;
}

// Reads the next keyword field into s.campo; `at` now points at its line.
void leggi_parola_chiave(stato_scenario& s, lettore_campi& lettore, log_at& at);

// How a section of the reader ended.
enum class esito_sezione {
    avanti,        // go on reading
    fine_lettura,  // error 15: stop reading as at the end of the file; the run phase follows
    interrotta,    // an error that ends the method: the file is deleted, the run phase does not follow
};

// The general section, from the field after "[generale]" to the section end or
// the end of the file. Fills voci 81..86, sizes `celle` and `tracciato`.
// Throws limite_tracciato_superato, sizing nothing, when the plan would need
// more points than `plan_point_limit`.
esito_sezione leggi_sezione_generale(stato_scenario& s, lettore_campi& lettore, log_at& at,
                                     std::optional<int32_t> plan_point_limit = {});

}  // namespace lettura_linea
}  // namespace scenario
