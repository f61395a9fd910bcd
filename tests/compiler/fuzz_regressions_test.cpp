// Replays, through the same checks the fuzz targets make, every input a fuzz
// target once failed on (tests/data/fuzz_regressions/<target>/) and the
// hand-made seed inputs the fuzzers start from (fuzz/corpus/<target>/).
#include "fuzz/fuzz_targets.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace scenario {
namespace {

namespace fs = std::filesystem;

using corpo_fuzz = std::string (*)(const uint8_t*, std::size_t);

std::vector<fs::path> ingressi(const std::string& bersaglio) {
    const fs::path dati(SCENARIO_TEST_DATA);
    std::vector<fs::path> file;
    for (const fs::path& cartella : {dati / "fuzz_regressions" / bersaglio,
                                     dati.parent_path().parent_path() / "fuzz" / "corpus" / bersaglio}) {
        if (!fs::is_directory(cartella))
            continue;
        for (const auto& voce : fs::directory_iterator(cartella))
            if (voce.is_regular_file())
                file.push_back(voce.path());
    }
    return file;
}

std::string leggi(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void riproduci(const std::string& bersaglio, corpo_fuzz corpo) {
    const std::vector<fs::path> file = ingressi(bersaglio);
    ASSERT_FALSE(file.empty()) << "no inputs for " << bersaglio;
    for (const fs::path& p : file) {
        SCOPED_TRACE(p.filename().string());
        const std::string dati = leggi(p);
        EXPECT_EQ(corpo(reinterpret_cast<const uint8_t*>(dati.data()), dati.size()), "");
    }
}

TEST(FuzzRegressions, FieldReader) {
    riproduci("field_reader", fuzz::prova_lettore_campi);
}
TEST(FuzzRegressions, LineDescription) {
    riproduci("line_description", fuzz::prova_descrizione_linea);
}
TEST(FuzzRegressions, WholeCompile) {
    riproduci("whole_compile", fuzz::prova_compilazione);
}
// The same inputs (and any the agreement target saved) compiled again without
// the log and the plan's points.
TEST(FuzzRegressions, CompileAgreement) {
    riproduci("whole_compile", fuzz::prova_compilazione_accordo);
    if (!ingressi("compile_agreement").empty())
        riproduci("compile_agreement", fuzz::prova_compilazione_accordo);
}
// The same inputs and those of the long-route target, without the plan limit.
TEST(FuzzRegressions, WholeCompileWithoutPlanLimit) {
    riproduci("whole_compile", fuzz::prova_compilazione_lunga);
    if (!ingressi("whole_compile_long").empty())
        riproduci("whole_compile_long", fuzz::prova_compilazione_lunga);
}

// The whole-compile input format the saved inputs rely on.
TEST(FuzzRegressions, OneInputSplitsIntoTheTwoSourcesAtTheSeparator) {
    const fuzz::due_sorgenti d =
        fuzz::dividi_ingresso(fuzz::unisci_sorgenti("linea\r\n", "corsa@@corsa@@\r\n"));
    EXPECT_EQ(d.linea, "linea\r\n");
    EXPECT_EQ(d.corsa, "corsa@@corsa@@\r\n");
    EXPECT_EQ(fuzz::dividi_ingresso("solo linea").corsa, std::nullopt);
}

}  // namespace
}  // namespace scenario
