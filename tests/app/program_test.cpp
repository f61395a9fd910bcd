// The real program, run as a person runs it: copied into a directory of its
// own whose name holds spaces and accented letters, started from elsewhere.
#include "sources/writers.h"
#include "tests/app/child_process.h"
#include "tests/support/golden_digests.h"
#include "tests/support/sha256.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string nome_programma = "calvena_roccalba";

const std::string linea_testo = "Calvena_Roccalba_linea.txt";
const std::string corsa_testo = "Calvena_Roccalba_4127-.txt";
const std::string note = "Calvena_Roccalba_4127_note.txt";
const std::string rallentamenti = "Calvena_Roccalba_4127_rallentamenti.txt";
const std::string scheda = "Calvena_Roccalba_4127_scheda_treno.txt";
const std::string linea_compilata = "Calvena_Roccalba_linea.dat";
const std::string corsa_compilata = "Calvena_Roccalba_4127.sim";
const std::string celle_compilate = "Calvena_Roccalba_4127.dat";

const std::vector<std::string> pacchetto{
    note, rallentamenti, scheda, linea_compilata, corsa_compilata, celle_compilate};

// What each text file must hold: its writer's lines.
std::map<std::string, std::string> testi_attesi() {
    using namespace scenario;
    return {{linea_testo, testo_lista(sorgenti::righe_linea())},
            {corsa_testo, testo_lista(sorgenti::righe_treno())},
            {note, testo_lista(sorgenti::righe_note())},
            {rallentamenti, testo_lista(sorgenti::righe_rallentamenti())},
            {scheda, testo_lista(sorgenti::righe_scheda())}};
}

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        cartella_ = prova::cartella_nuova("prova \u00e8 \u00f8");
        lavoro_ = prova::cartella_nuova("lavoro");
        programma_ = cartella_ / nome_programma;
        fs::copy_file(SCENARIO_PROGRAMMA, programma_);
    }

    void TearDown() override {
        std::error_code ec;
        fs::remove_all(cartella_.parent_path(), ec);
        fs::remove_all(lavoro_.parent_path(), ec);
    }

    // No display: these runs are about files; the window has its own tests.
    prova::esito_figlio avvia(std::optional<unsigned long> limite_file = {},
                              std::optional<std::string> display = {}) {
        prova::opzioni_figlio opzioni;
        opzioni.cartella_lavoro = lavoro_;
        opzioni.limite_file_byte = limite_file;
        opzioni.display = std::move(display);
        return prova::esegui(programma_, opzioni, 120s);
    }

    // Every file in the program directory but the program itself.
    std::set<std::string> presenti() const {
        std::set<std::string> nomi;
        for (const auto& voce : fs::directory_iterator(cartella_)) {
            const std::string nome = voce.path().filename().string();
            if (nome != nome_programma)
                nomi.insert(nome);
        }
        return nomi;
    }

    std::string leggi(const std::string& nome) const { return prova::leggi_file(cartella_ / nome); }

    std::map<std::string, std::string> leggi_pacchetto() const {
        std::map<std::string, std::string> contenuti;
        for (const auto& nome : pacchetto)
            contenuti[nome] = leggi(nome);
        return contenuti;
    }

    bool lavoro_vuoto() const { return fs::is_empty(lavoro_); }

    fs::path cartella_;
    fs::path lavoro_;
    fs::path programma_;
};

TEST_F(ProgramRun, WritesThePackageIntoItsOwnDirectoryAndRemovesTheSources) {
    const auto esito = avvia();
    ASSERT_TRUE(esito.stato.has_value()) << "the program did not end by itself";
    EXPECT_EQ(*esito.stato, 0) << esito.errori;
    EXPECT_EQ(esito.errori, "") << "a clean run says nothing";

    EXPECT_EQ(presenti(), std::set<std::string>(pacchetto.begin(), pacchetto.end()));
    const auto attesi = testi_attesi();
    for (const auto& nome : {note, rallentamenti, scheda})
        EXPECT_EQ(leggi(nome), attesi.at(nome)) << nome;

    // Sizes that follow from the line description: 941 cells, 47001 plan points.
    EXPECT_EQ(fs::file_size(cartella_ / celle_compilate), 14115u);
    EXPECT_EQ(fs::file_size(cartella_ / linea_compilata), 939964u);
    EXPECT_GT(fs::file_size(cartella_ / corsa_compilata), 87u * 34u);
    // The very bytes, the same as the compiler's own test pins.
    for (const auto& nome : pacchetto)
        EXPECT_EQ(scenario::test_support::sha256_hex(leggi(nome)),
                  scenario::test_support::golden_digests.at(nome))
            << nome << " differs from the pinned bytes (tests/support/golden_digests.h)";

    EXPECT_TRUE(lavoro_vuoto()) << "nothing goes into the working directory";
}

TEST_F(ProgramRun, SecondRunReplacesEveryFileWhole) {
    const auto prima = avvia();
    ASSERT_EQ(prima.stato, std::optional<int>(0)) << prima.errori;
    const auto contenuti = leggi_pacchetto();

    // Stale files longer than the new ones: an append or an overwrite in place shows.
    for (const auto& [nome, contenuto] : contenuti)
        prova::scrivi_file(cartella_ / nome, contenuto + std::string(4096, '#'));
    prova::scrivi_file(cartella_ / linea_testo, "stale line description\r\n");
    prova::scrivi_file(cartella_ / corsa_testo, "stale run description\r\n");

    // A display that cannot be opened: the program runs on without a window and says nothing.
    const auto seconda = avvia({}, "unix:65000");
    ASSERT_EQ(seconda.stato, std::optional<int>(0)) << seconda.errori;
    EXPECT_EQ(seconda.errori, "");
    EXPECT_EQ(presenti(), std::set<std::string>(pacchetto.begin(), pacchetto.end()));
    for (const auto& [nome, contenuto] : contenuti)
        EXPECT_TRUE(leggi(nome) == contenuto) << nome << " differs";
    EXPECT_TRUE(lavoro_vuoto());
}

TEST_F(ProgramRun, DocumentThatCannotBeReplacedStopsTheRunAtItsWriter) {
    // Root ignores permissions; a directory of that name stops root too.
    fs::create_directory(cartella_ / rallentamenti);
    prova::scrivi_file(cartella_ / rallentamenti / "inside", "x");

    const auto esito = avvia();
    ASSERT_TRUE(esito.stato.has_value()) << "the program did not end by itself";
    EXPECT_EQ(*esito.stato, 1);
    EXPECT_NE(esito.errori.find(rallentamenti), std::string::npos) << esito.errori;

    // Writers 1 to 3 wrote their files; the fifth and the compile never ran.
    EXPECT_EQ(presenti(), (std::set<std::string>{linea_testo, corsa_testo, note, rallentamenti}));
    const auto attesi = testi_attesi();
    for (const auto& nome : {linea_testo, corsa_testo, note})
        EXPECT_EQ(leggi(nome), attesi.at(nome)) << nome;
    EXPECT_TRUE(fs::is_directory(cartella_ / rallentamenti));
    EXPECT_TRUE(lavoro_vuoto());
}

TEST_F(ProgramRun, FullDiskWhileWritingACompiledFileKeepsTheEarlierGoodFile) {
    const auto prima = avvia();
    ASSERT_EQ(prima.stato, std::optional<int>(0)) << prima.errori;
    const auto contenuti = leggi_pacchetto();

    // The text files fit under the limit, the 940 KB line file does not.
    constexpr unsigned long limite = 200 * 1024;
    ASSERT_GT(contenuti.at(linea_compilata).size(), limite);
    const auto esito = avvia(limite);
    ASSERT_TRUE(esito.stato.has_value()) << "the program did not end by itself";
    EXPECT_EQ(*esito.stato, 1) << "a file-size limit must be a reported write error, not a signal";
    EXPECT_NE(esito.errori.find(linea_compilata), std::string::npos) << esito.errori;
    EXPECT_NE(esito.errori.find(std::strerror(EFBIG)), std::string::npos) << esito.errori;

    // The good line file stays whole; the later compiled files were not touched.
    for (const auto& nome : {linea_compilata, corsa_compilata, celle_compilate}) {
        EXPECT_TRUE(leggi(nome) == contenuti.at(nome)) << nome << " differs";
    }
    for (const auto& nome : presenti())
        EXPECT_NE(fs::path(nome).extension(), ".tmp") << "left behind: " << nome;
    EXPECT_TRUE(lavoro_vuoto());
}

}  // namespace
