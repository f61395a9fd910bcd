// The line file: every value of the track plan, a 2-byte tag and then the
// value it announces. A long route holds millions of values, so this per-value
// work lives apart from the other compiled files (the fuzz build leaves it out
// of its instrumentation, as it does the plan steps).
#include "compiler/compiled_files.h"
#include "compiler/little_endian.h"

#include <cstdint>

namespace scenario {

namespace {

using etichetta = valore_tracciato::etichetta;

std::size_t byte_valore(const valore_tracciato& v) {
    switch (v.tipo) {
        case etichetta::intero:
            return 4;
        case etichetta::reale:
            return 10;
        case etichetta::vuoto:
            break;
    }
    return 2;
}

// A tag, then the value it announces, at `p`; gives the byte after it. Each
// takes its bytes in one step, into room the caller reckoned with byte_valore.
[[gnu::always_inline]] inline char* metti_valore(char* p, const valore_tracciato& v) {
    switch (v.tipo) {
        case etichetta::intero:
            metti_le<2>(p, static_cast<uint16_t>(etichetta::intero));
            metti_le<2>(p + 2, static_cast<uint16_t>(v.intero));
            return p + 4;
        case etichetta::reale:
            metti_le<2>(p, static_cast<uint16_t>(etichetta::reale));
            metti_le<8>(p + 2, bit_double(v.reale));
            return p + 10;
        case etichetta::vuoto:
            break;
    }
    metti_le<2>(p, static_cast<uint16_t>(etichetta::vuoto));
    return p + 2;
}

}  // namespace

void codifica_tracciato(const tracciato_linea& t, std::string& dati) {
    dati.clear();
    // A plan that does not exist has no elements to write.
    if (!t.esiste())
        return;
    std::size_t dimensione = 0;
    for (const valore_tracciato& v : t.valori)
        dimensione += byte_valore(v);
    // Every byte is written below: `valori` already holds all x values, then
    // all y values, each taking the bytes its tag reckoned above.
    dati.resize(dimensione);
    char* p = dati.data();
    for (const valore_tracciato& v : t.valori)
        p = metti_valore(p, v);
}

std::string codifica_tracciato(const tracciato_linea& t) {
    std::string dati;
    codifica_tracciato(t, dati);
    return dati;
}

}  // namespace scenario
