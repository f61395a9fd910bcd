// Writes the text sources of the synthetic 1000 km route into a directory, as
// Synthetic_linea.txt and Synthetic_1-.txt, for trying the tool on a long route.
#include "bench/synthetic_route.h"

#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: synthetic_sources DIR\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    const scenario::banco::sorgenti_sintetiche s = scenario::banco::percorso_sintetico(100);
    std::ofstream(dir / "Synthetic_linea.txt", std::ios::binary) << s.linea;
    std::ofstream(dir / "Synthetic_1-.txt", std::ios::binary) << s.corsa;
    return 0;
}
