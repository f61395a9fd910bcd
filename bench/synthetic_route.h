// Text sources for a long synthetic scenario, made in code: a 1000 km line
// with curves, gradients, tunnels and boards, and a run over it with speed and
// adhesion profiles, stations, slowdowns, signals and abbattimento points.
// Every item is placed so that the whole scenario compiles without an error.
#pragma once

#include <string>

namespace scenario::banco {

struct sorgenti_sintetiche {
    std::string linea;  // line description
    std::string corsa;  // run description
};

// A route of `blocchi` blocks of 10 km each (100 blocks: 1000 km).
sorgenti_sintetiche percorso_sintetico(int blocchi);

}  // namespace scenario::banco
