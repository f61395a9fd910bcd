// Writes the seed inputs made of the program's own two text sources into a
// corpus directory, for one fuzz target:
//   seed_corpus field_reader|line_description|whole_compile[_long] <directory>
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

// The program's line description with its route cut to `metri`: the fast
// targets' plan limit stops the whole route at its length, while this one is
// read up to there (lines beyond it end the reading with error 15).
std::string percorso_accorciato(std::string linea, const char* metri) {
    const std::string chiave = "lunghezza percorso,";
    const std::size_t dove = linea.find(chiave);
    if (dove == std::string::npos)
        return linea;
    std::size_t inizio = dove + chiave.size();
    while (inizio < linea.size() && linea[inizio] == ' ')
        ++inizio;
    std::size_t fine = inizio;
    while (fine < linea.size() && linea[fine] >= '0' && linea[fine] <= '9')
        ++fine;
    return linea.replace(inizio, fine - inizio, metri);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: seed_corpus field_reader|line_description|whole_compile[_long] <directory>\n");
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
        ok &= scrivi(cartella / "linea_4999", percorso_accorciato(linea, "4999"));
    } else if (bersaglio == "whole_compile" || bersaglio == "whole_compile_long") {
        ok &= scrivi(cartella / "linea_corsa", scenario::fuzz::unisci_sorgenti(linea, corsa));
        ok &= scrivi(cartella / "linea_corsa_4999",
                     scenario::fuzz::unisci_sorgenti(percorso_accorciato(linea, "4999"), corsa));
    } else {
        std::fprintf(stderr, "seed_corpus: unknown target %s\n", bersaglio.c_str());
        return 2;
    }
    return ok ? 0 : 1;
}
