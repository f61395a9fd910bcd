// libFuzzer entry point: the whole compile as whole_compile_fuzz.cpp and
// compile_agreement_fuzz.cpp together, but without a limit on the track
// plan, so routes up to a million metres are built, encoded and decoded back
// whole. Slow; see README.md for how it runs.
#include "fuzz/fuzz_targets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, std::size_t n) {
    const std::string guasto = scenario::fuzz::prova_compilazione_lunga(dati, n);
    if (!guasto.empty()) {
        std::fprintf(stderr, "whole compile (long routes): %s\n", guasto.c_str());
        std::abort();
    }
    return 0;
}
