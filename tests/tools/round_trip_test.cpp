// `sources` then `compile` gives exactly the files the program writes: the
// program's run (its five writers into a directory, then the compile of the
// sources found there) is done here with the same library calls the program
// makes, and every compiled file is compared byte for byte.
#include "common/file_replace.h"
#include "common/line_list.h"
#include "compiler/compile_driver.h"
#include "compiler/source_store.h"
#include "sources/writers.h"
#include "tests/support/files.h"
#include "tools/command_line.h"
#include "tools/compile_command.h"
#include "tools/sources_command.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace scenario::tool {
namespace {

namespace fs = std::filesystem;
using strumento::compila_sorgenti;
using strumento::esito_compilazione;
using strumento::richiesta_compilazione;
using test_support::read_file;
using test_support::write_file;

const std::string nome = "Calvena_Roccalba";
const std::string treno = "4127";

class AndataRitorno : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device caso;
        radice_ = fs::temp_directory_path() / ("scenario_tool_rt_" + std::to_string(caso()));
        fs::create_directories(radice_);
    }
    void TearDown() override { fs::remove_all(radice_); }

    // What the program leaves in its directory: the writers' files, then the
    // compile of the two sources it finds there (which it deletes).
    fs::path corsa_del_programma(int32_t j) {
        const fs::path cartella = radice_ / ("programma_" + std::to_string(j));
        fs::create_directories(cartella);
        const std::pair<std::string, lista_righe> testi[] = {
            {nome_file_linea_testo(nome), sorgenti::righe_linea()},
            {nome_file_corsa_testo(nome, treno), sorgenti::righe_treno()},
        };
        for (const auto& [file, righe] : testi)
            EXPECT_FALSE(sostituisci_file(cartella / file, testo_lista(righe)));
        stato_scenario s;
        s.nome_scenario = nome;
        s.numero_treno = treno;
        sorgenti_su_disco sorgenti(cartella, nome, treno);
        EXPECT_FALSE(memorizza_percorso(s, j, sorgenti, cartella));
        EXPECT_EQ(s.codice_errore, 0);
        return cartella;
    }

    fs::path radice_;
};

TEST_F(AndataRitorno, SourcesThenCompileGivesTheProgramsFiles) {
    for (const bool piano : {true, false}) {
        SCOPED_TRACE(piano ? "with the plan" : "--no-plan");
        const fs::path programma = corsa_del_programma(piano ? 1 : 0);

        const fs::path src = radice_ / (piano ? "src1" : "src0");
        const fs::path out = radice_ / (piano ? "out1" : "out0");
        std::ostringstream o, e;
        ASSERT_EQ(run({"sources", src.string()}, o, e), 0) << e.str();
        const fs::path linea = src / nome_file_linea_testo(nome);
        const fs::path corsa = src / nome_file_corsa_testo(nome, treno);
        const std::string linea_prima = read_file(linea), corsa_prima = read_file(corsa);

        std::vector<std::string> parole{"compile",      "--line", linea.string(), "--run",
                                        corsa.string(), "--name", nome,           "--train",
                                        treno,          "--out",  out.string()};
        if (!piano)
            parole.push_back("--no-plan");
        ASSERT_EQ(run(parole, o, e), 0) << e.str();
        EXPECT_EQ(e.str(), "");

        for (const std::string& file :
             {nome_file_corsa_compilato(nome, treno), nome_file_celle_compilato(nome, treno),
              nome_file_linea_compilato(nome)}) {
            SCOPED_TRACE(file);
            const bool atteso = piano || file != nome_file_linea_compilato(nome);
            ASSERT_EQ(fs::exists(out / file), atteso);
            ASSERT_EQ(fs::exists(programma / file), atteso);
            if (atteso) {
                EXPECT_TRUE(read_file(out / file) == read_file(programma / file));
            }
        }
        // The compiler deletes its sources; the tool's inputs stay as they were.
        EXPECT_FALSE(fs::exists(programma / nome_file_linea_testo(nome)));
        EXPECT_EQ(read_file(linea), linea_prima);
        EXPECT_EQ(read_file(corsa), corsa_prima);
    }
}

TEST_F(AndataRitorno, SourcesAreTheProgramsTextFilesAndAreNotOverwrittenByAccident) {
    const fs::path src = radice_ / "src";
    ASSERT_FALSE(write_sources(src, false));
    const std::vector<source_file> attesi = program_sources();
    ASSERT_EQ(attesi.size(), 5u);
    EXPECT_EQ(read_file(src / (nome + "_linea.txt")), testo_lista(sorgenti::righe_linea()));
    EXPECT_EQ(read_file(src / (nome + "_4127-.txt")), testo_lista(sorgenti::righe_treno()));
    EXPECT_EQ(read_file(src / (nome + "_4127_note.txt")), testo_lista(sorgenti::righe_note()));
    EXPECT_EQ(read_file(src / (nome + "_4127_rallentamenti.txt")),
              testo_lista(sorgenti::righe_rallentamenti()));
    EXPECT_EQ(read_file(src / (nome + "_4127_scheda_treno.txt")), testo_lista(sorgenti::righe_scheda()));

    // An author's edit survives a second `sources` unless --force is given.
    std::ofstream(src / (nome + "_linea.txt"), std::ios::binary) << "edited";
    std::ostringstream o, e;
    EXPECT_EQ(run({"sources", src.string()}, o, e), 2);
    EXPECT_NE(e.str().find("--force"), std::string::npos);
    EXPECT_EQ(read_file(src / (nome + "_linea.txt")), "edited");
    EXPECT_EQ(run({"sources", src.string(), "--force"}, o, e), 0);
    EXPECT_EQ(read_file(src / (nome + "_linea.txt")), testo_lista(sorgenti::righe_linea()));
}

TEST_F(AndataRitorno, FaultySourcesGiveTheFilesTheProgramWouldWrite) {
    // A duplicated signal stops the reader; the program writes its files all
    // the same, and so does the tool, with the same bytes.
    std::string corsa = testo_lista(sorgenti::righe_treno());
    const std::string segnale = "segnale,    9800,";
    const std::size_t dove = corsa.find(segnale);
    ASSERT_NE(dove, std::string::npos);
    corsa.insert(corsa.find("\r\n", dove) + 2, corsa.substr(dove, corsa.find("\r\n", dove) + 2 - dove));
    const std::string linea = testo_lista(sorgenti::righe_linea());

    const fs::path programma = radice_ / "programma";
    fs::create_directories(programma);
    stato_scenario s;
    s.nome_scenario = nome;
    s.numero_treno = treno;
    int32_t j = 1;
    sorgenti_in_memoria memoria{linea, corsa};
    ASSERT_FALSE(memorizza_percorso(s, j, memoria, programma));
    ASSERT_EQ(s.codice_errore, 16);

    std::ofstream(radice_ / "l.txt", std::ios::binary) << linea;
    std::ofstream(radice_ / "r.txt", std::ios::binary) << corsa;
    richiesta_compilazione r{radice_ / "l.txt", radice_ / "r.txt", nome, treno, true, radice_ / "out"};
    const esito_compilazione e = compila_sorgenti(r);
    ASSERT_FALSE(e.guasto);
    EXPECT_EQ(e.codice_errore, 16);
    ASSERT_EQ(e.scritti.size(), 3u);
    for (const fs::path& p : e.scritti)
        EXPECT_TRUE(read_file(p) == read_file(programma / p.filename())) << p;
}

TEST_F(AndataRitorno, ACompileNeverReplacesItsInput) {
    // Sources named like the compiled files, compiled into their own directory.
    const fs::path cella = radice_ / nome_file_celle_compilato("X", "1");
    std::ofstream(cella, std::ios::binary) << testo_lista(sorgenti::righe_linea());
    std::ofstream(radice_ / "r.txt", std::ios::binary) << testo_lista(sorgenti::righe_treno());
    const std::string prima = read_file(cella);
    richiesta_compilazione r{cella, radice_ / "r.txt", "X", "1", true, radice_};
    const esito_compilazione e = compila_sorgenti(r);
    ASSERT_TRUE(e.guasto);
    EXPECT_NE(e.guasto->find("would replace the input file"), std::string::npos);
    EXPECT_EQ(read_file(cella), prima);
}

}  // namespace
}  // namespace scenario::tool
