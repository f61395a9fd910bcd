// The SHA-256 digests of the eight files of the program's own package: the
// five text files and the three compiled files. Pinned from the code as it
// stood; every byte change fails the tests that check them.
#pragma once

#include <map>
#include <string>

namespace scenario::test_support {

// To change these on purpose: run
//   ctest --preset ci -R GoldenBytes --output-on-failure
// and copy the digest each failure prints into this table.
inline const std::map<std::string, std::string> golden_digests{
    {"Calvena_Roccalba_linea.txt", "9f00babaa25684acec5bbaeb0db9908eef6d263af5370f86340b1032c2a1cbce"},
    {"Calvena_Roccalba_4127-.txt", "7cee16158a2956e05e52641ace7a1c6cb2965cf5877173bd7d63bb0f5e7dce0b"},
    {"Calvena_Roccalba_4127_note.txt", "a6ae8fff59d7ccf18ac74f1e41938715a1d63eb1d0560e7a9a0653ec12ce4d70"},
    {"Calvena_Roccalba_4127_rallentamenti.txt",
     "6efe92b6a0fadac8d2ba0faba692113ffc2ca1a9030d2bbde38b335787767e4a"},
    {"Calvena_Roccalba_4127_scheda_treno.txt",
     "0aa069e9a5f18b87f5a24bf12becf629c84a2496b5a4813c08df34060cacf932"},
    {"Calvena_Roccalba_linea.dat", "5e54047cb7f3ffe0f5bcffb7ddc7e75baea36a3e1249bfe044bd8579a264fa7d"},
    {"Calvena_Roccalba_4127.sim", "6cffd939e36d1dc26b989220de0795c2ad6eef155dbc4a1cc91ea5842e271405"},
    {"Calvena_Roccalba_4127.dat", "6c9b553d988f99519080b0bb43f30e5cdba2046330ea410c84043aa786085575"},
};

}  // namespace scenario::test_support
