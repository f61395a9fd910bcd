// libFuzzer entry point: the field reader over arbitrary bytes.
#include "fuzz/fuzz_targets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, std::size_t n) {
    const std::string guasto = scenario::fuzz::prova_lettore_campi(dati, n);
    if (!guasto.empty()) {
        std::fprintf(stderr, "field reader: %s\n", guasto.c_str());
        std::abort();
    }
    return 0;
}
