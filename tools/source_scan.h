// Looking into the text sources for diagnostics: which line holds what, and
// which cells the items of each line take. The compiler itself never needs
// this; the tool uses it to point an author at the line behind an error that
// was found later (the finishing sweep, the stamps) or to say what already
// stands in a cell.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/state.h"

namespace scenario::strumento {

// What a line of a text source describes, from its keyword field.
enum class elemento {
    nessuno,
    // line description
    lunghezza_percorso,
    progressiva,
    sfondo,
    ripetizione_segnali,
    pendenza,
    curva,
    galleria,
    indicatore_vmax,
    cartello_galleria,
    // run description
    massa_frenata,
    vetture,
    velocita,
    aderenza,
    orologio,
    sabbia,
    segnale,
    rallentamento,
    abbattimento,
    stazione,
};

// The keyword test of the reader of `sorgente` that the field would pass
// first (letter case ignored).
elemento riconosci_elemento(std::string_view parola, sorgente_testo sorgente);
// "signal", "slowdown", "maximum-speed board", ...
const char* nome_elemento(elemento e);

// One physical line of a source, split into fields the way the readers split
// them: the keyword field, then the fields after it read as numbers.
struct riga_sorgente {
    sorgente_testo sorgente = sorgente_testo::linea;
    int32_t numero = 0;     // 1-based, counted as the readers count lines
    std::string_view testo; // the line without its line end
    std::string parola;     // the first field
    elemento tipo = elemento::nessuno;
    std::vector<int32_t> numeri;  // fields after the keyword as numbers (0 when not one); stops at a number beyond 32 bits
    std::string ultimo_campo;           // the last comma-separated field, blanks trimmed
};

// All lines of a source.
std::vector<riga_sorgente> righe_sorgente(std::string_view testo, sorgente_testo sorgente);

// The line numbered `numero`, when there is one.
const riga_sorgente* riga_numero(const std::vector<riga_sorgente>& righe, int32_t numero);

// An item that a line places in route cells, with the cells it takes.
struct elemento_posto {
    elemento tipo = elemento::nessuno;
    const riga_sorgente* riga = nullptr;
    int32_t posizione = 0;
    std::vector<int32_t> celle;
};

// The placed items of a source, in file order: boards (line description);
// signals, slowdowns (start, end, advance and approach cells), abbattimento
// points and station stops (run description).
std::vector<elemento_posto> elementi_posti(const std::vector<riga_sorgente>& righe);

// The cell an item at `posizione` takes: posizione / 50 + `dopo`, rounded half to even.
int32_t cella_di(int64_t posizione, int dopo);

}  // namespace scenario::strumento
