// libFuzzer entry point: the line description alone, read into a fresh state
// (the run description does not exist).
#include "fuzz/fuzz_targets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, std::size_t n) {
    const std::string guasto = scenario::fuzz::prova_descrizione_linea(dati, n);
    if (!guasto.empty()) {
        std::fprintf(stderr, "line description: %s\n", guasto.c_str());
        std::abort();
    }
    return 0;
}
