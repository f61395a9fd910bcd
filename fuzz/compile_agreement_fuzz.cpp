// libFuzzer entry point: the whole compile of one input (as whole_compile_fuzz
// splits it) with the log and the plan's points, then again without them, as
// the program compiles; the two must leave the same state and line file.
#include "fuzz/fuzz_targets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, std::size_t n) {
    const std::string guasto = scenario::fuzz::prova_compilazione_accordo(dati, n);
    if (!guasto.empty()) {
        std::fprintf(stderr, "compile agreement: %s\n", guasto.c_str());
        std::abort();
    }
    return 0;
}
