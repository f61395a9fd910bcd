// The exact bytes of every file the package holds, pinned by digest: the five
// text files the writers produce and the three compiled files, both as the
// program makes them and as the tool's compile makes them from the same
// sources. Any change of a byte fails here, on purpose.
#include "common/file_replace.h"
#include "compiler/compile_driver.h"
#include "compiler/source_store.h"
#include "sources/identity.h"
#include "sources/writers.h"
#include "tests/support/golden_digests.h"
#include "tests/support/sha256.h"
#include "tools/commands/compile_command.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <sstream>

namespace scenario {
namespace {

namespace fs = std::filesystem;
using test_support::golden_digests;
using test_support::sha256_hex;

std::string read_bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void expect_golden(const std::string& name, const std::string& bytes, const char* made_by) {
    const auto it = golden_digests.find(name);
    ASSERT_NE(it, golden_digests.end()) << name;
    EXPECT_EQ(sha256_hex(bytes), it->second)
        << name << " (" << made_by << ") changed. If the change is intended, set its entry in "
        << "golden_digests (tests/support/golden_digests.h) to the value above.";
}

TEST(Sha256, MatchesTheKnownVectors) {
    EXPECT_EQ(sha256_hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256_hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // Two blocks of padding.
    EXPECT_EQ(sha256_hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

class GoldenBytes : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("scenario_golden_") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // The five text files, written the way the program writes them.
    std::map<std::string, std::string> write_texts(const fs::path& where) {
        const std::string nome = sorgenti::nome_scenario;
        const std::string treno = sorgenti::numero_treno;
        const std::map<std::string, lista_righe> files{
            {nome_file_linea_testo(nome), sorgenti::righe_linea()},
            {nome_file_corsa_testo(nome, treno), sorgenti::righe_treno()},
            {nome + "_" + treno + "_note.txt", sorgenti::righe_note()},
            {nome + "_" + treno + "_rallentamenti.txt", sorgenti::righe_rallentamenti()},
            {nome + "_" + treno + "_scheda_treno.txt", sorgenti::righe_scheda()},
        };
        std::map<std::string, std::string> written;
        for (const auto& [name, lines] : files) {
            EXPECT_TRUE(sostituisci_file(percorso_in(where, name), testo_lista(lines)));
            written[name] = read_bytes(percorso_in(where, name));
        }
        return written;
    }

    fs::path dir_;
};

const char* const compiled_names[] = {"Calvena_Roccalba_linea.dat", "Calvena_Roccalba_4127.sim",
                                      "Calvena_Roccalba_4127.dat"};

TEST_F(GoldenBytes, TheProgramWritesThePinnedBytes) {
    for (const auto& [name, bytes] : write_texts(dir_))
        expect_golden(name, bytes, "the program's writer");

    stato_scenario s;
    s.nome_scenario = sorgenti::nome_scenario;
    s.numero_treno = sorgenti::numero_treno;
    int32_t j = 1;
    sorgenti_su_disco sources(dir_, s.nome_scenario, s.numero_treno);
    ASSERT_TRUE(memorizza_percorso(s, j, sources, dir_).ok());
    EXPECT_EQ(s.codice_errore, 0);
    for (const char* name : compiled_names)
        expect_golden(name, read_bytes(dir_ / name), "the program's compile");
}

TEST_F(GoldenBytes, TheToolCompilesThePinnedBytes) {
    const fs::path in = dir_ / "in";
    const fs::path out = dir_ / "out";
    fs::create_directories(in);
    write_texts(in);

    tool::compile_request r;
    r.sources.names = {sorgenti::nome_scenario, sorgenti::numero_treno};
    r.sources.line_file = in / nome_file_linea_testo(sorgenti::nome_scenario);
    r.sources.run_file = in / nome_file_corsa_testo(sorgenti::nome_scenario, sorgenti::numero_treno);
    r.out_dir = out;
    const tool::compile_result e = tool::compile_sources(r);
    ASSERT_TRUE(e.status) << e.status.error();
    EXPECT_TRUE(e.errors.empty());
    for (const char* name : compiled_names)
        expect_golden(name, read_bytes(out / name), "the tool's compile");
}

}  // namespace
}  // namespace scenario
