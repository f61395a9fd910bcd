// The drawing of a compiled scenario as SVG: the track plan seen from above
// with stations, tunnels, signals and slowdowns marked along it, and the
// gradient profile under it.
#pragma once

#include "compiler/state.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace scenario::strumento {

struct dati_piano {
    std::string titolo;
    std::optional<tracciato_linea> tracciato;  // none: no line file, the line is drawn straight
    std::vector<cella> celle;
    std::array<voce, numero_voci> voci{};
};

// The stations of a run file: records 1 upward, in order, up to the first
// empty one, leaving out the records that tunnel-name boards use.
struct stazione_disegnata {
    int indice = 0;
    int32_t posizione = 0;
    std::string nome;  // as stored (Windows-1252)
};
std::vector<stazione_disegnata> stazioni_di(const dati_piano& d);

// The whole SVG document.
std::string disegna_piano(const dati_piano& d);

}  // namespace scenario::strumento
