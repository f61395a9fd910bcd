// Writes the seed inputs made of the program's own two text sources into a
// corpus directory, for one fuzz target:
//   seed_corpus field_reader|line_description|whole_compile <directory>
// The sources come from the writers, so the seeds follow any change to them.
#include "common/line_list.h"
#include "fuzz/fuzz_targets.h"
#include "sources/writers.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>

namespace {

bool scrivi(const std::filesystem::path& percorso, std::string_view dati) {
    std::ofstream out(percorso, std::ios::binary | std::ios::trunc);
    out.write(dati.data(), std::streamsize(dati.size()));
    out.close();
    if (!out)
        std::fprintf(stderr, "seed_corpus: cannot write %s\n", percorso.string().c_str());
    return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: seed_corpus field_reader|line_description|whole_compile <directory>\n");
        return 2;
    }
    const std::string bersaglio = argv[1];
    const std::filesystem::path cartella = argv[2];
    std::error_code ec;
    std::filesystem::create_directories(cartella, ec);

    const std::string linea = scenario::testo_lista(scenario::sorgenti::righe_linea());
    const std::string corsa = scenario::testo_lista(scenario::sorgenti::righe_treno());
    bool ok = true;
    if (bersaglio == "field_reader") {
        // The first byte chooses the kinds of reads: all text, all numbers, mixed.
        const std::pair<char, const char*> scelte[] = {
            {'\x00', "testi"}, {'\x55', "numeri"}, {'\xE4', "misto"}};
        for (const auto& [primo, nome] : scelte) {
            ok &= scrivi(cartella / (std::string("linea_") + nome), std::string(1, primo) + linea);
            ok &= scrivi(cartella / (std::string("corsa_") + nome), std::string(1, primo) + corsa);
        }
    } else if (bersaglio == "line_description") {
        ok &= scrivi(cartella / "linea", linea);
    } else if (bersaglio == "whole_compile") {
        ok &= scrivi(cartella / "linea_corsa", scenario::fuzz::unisci_sorgenti(linea, corsa));
    } else {
        std::fprintf(stderr, "seed_corpus: unknown target %s\n", bersaglio.c_str());
        return 2;
    }
    return ok ? 0 : 1;
}
