// libFuzzer entry point: the whole compile from both text sources, split out
// of one input at the separator (see fuzz_targets.h), then the three compiled
// files encoded and decoded back. The same compile without its log is
// compile_agreement_fuzz's.
#include "fuzz/fuzz_targets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, std::size_t n) {
    const std::string guasto = scenario::fuzz::prova_compilazione(dati, n);
    if (!guasto.empty()) {
        std::fprintf(stderr, "whole compile: %s\n", guasto.c_str());
        std::abort();
    }
    return 0;
}
