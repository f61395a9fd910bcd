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
#include "tools/commands/compile_command.h"
#include "tools/commands/sources_command.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace scenario::tool {
namespace {

namespace fs = std::filesystem;
using test_support::read_file;
using test_support::write_file;
using tool::compile_request;
using tool::compile_result;
using tool::compile_sources;

const std::string name = "Calvena_Roccalba";
const std::string train = "4127";

class RoundTrip : public ::testing::Test {
protected:
    // What the program leaves in its directory: the writers' files, then the
    // compile of the two sources it finds there (which it deletes).
    fs::path program_run(int32_t j) {
        const fs::path directory = root_ / ("programma_" + std::to_string(j));
        fs::create_directories(directory);
        const std::pair<std::string, lista_righe> texts[] = {
            {nome_file_linea_testo(name), sorgenti::righe_linea()},
            {nome_file_corsa_testo(name, train), sorgenti::righe_treno()},
        };
        for (const auto& [file, lines] : texts)
            EXPECT_TRUE(sostituisci_file(directory / file, testo_lista(lines)));
        stato_scenario s;
        s.nome_scenario = name;
        s.numero_treno = train;
        sorgenti_su_disco sorgenti(directory, name, train);
        EXPECT_TRUE(memorizza_percorso(s, j, sorgenti, directory).ok());
        EXPECT_EQ(s.codice_errore, 0);
        return directory;
    }

    test_support::temporary_directory root_{"scenario_tool_rt_"};
};

TEST_F(RoundTrip, SourcesThenCompileGivesTheProgramsFiles) {
    for (const bool with_plan : {true, false}) {
        SCOPED_TRACE(with_plan ? "with the plan" : "--no-plan");
        const fs::path program_dir = program_run(with_plan ? 1 : 0);

        const fs::path src = root_ / (with_plan ? "src1" : "src0");
        const fs::path out = root_ / (with_plan ? "out1" : "out0");
        std::ostringstream o, e;
        ASSERT_EQ(run({"sources", src.string()}, o, e), 0) << e.str();
        const fs::path line = src / nome_file_linea_testo(name);
        const fs::path run_text = src / nome_file_corsa_testo(name, train);
        const std::string line_before = read_file(line), run_before = read_file(run_text);

        std::vector<std::string> words{"compile",   "--line", line.string(), "--run", run_text.string(),
                                       "--name",    name,     "--train",     train,   "--out",
                                       out.string()};
        if (!with_plan)
            words.push_back("--no-plan");
        ASSERT_EQ(run(words, o, e), 0) << e.str();
        EXPECT_EQ(e.str(), "");

        for (const std::string& file :
             {nome_file_corsa_compilato(name, train), nome_file_celle_compilato(name, train),
              nome_file_linea_compilato(name)}) {
            SCOPED_TRACE(file);
            const bool expected = with_plan || file != nome_file_linea_compilato(name);
            ASSERT_EQ(fs::exists(out / file), expected);
            ASSERT_EQ(fs::exists(program_dir / file), expected);
            if (expected) {
                EXPECT_TRUE(read_file(out / file) == read_file(program_dir / file));
            }
        }
        // The compiler deletes its sources; the tool's inputs stay as they were.
        EXPECT_FALSE(fs::exists(program_dir / nome_file_linea_testo(name)));
        EXPECT_EQ(read_file(line), line_before);
        EXPECT_EQ(read_file(run_text), run_before);
    }
}

TEST_F(RoundTrip, SourcesAreTheProgramsTextFilesAndAreNotOverwrittenByAccident) {
    const fs::path src = root_ / "src";
    ASSERT_TRUE(write_sources(src, false));
    const std::vector<source_file> expected_files = program_sources();
    ASSERT_EQ(expected_files.size(), 5u);
    EXPECT_EQ(read_file(src / (name + "_linea.txt")), testo_lista(sorgenti::righe_linea()));
    EXPECT_EQ(read_file(src / (name + "_4127-.txt")), testo_lista(sorgenti::righe_treno()));
    EXPECT_EQ(read_file(src / (name + "_4127_note.txt")), testo_lista(sorgenti::righe_note()));
    EXPECT_EQ(read_file(src / (name + "_4127_rallentamenti.txt")),
              testo_lista(sorgenti::righe_rallentamenti()));
    EXPECT_EQ(read_file(src / (name + "_4127_scheda_treno.txt")), testo_lista(sorgenti::righe_scheda()));

    // An author's edit survives a second `sources` unless --force is given.
    write_file(src / (name + "_linea.txt"), "edited");
    std::ostringstream o, e;
    EXPECT_EQ(run({"sources", src.string()}, o, e), 2);
    EXPECT_NE(e.str().find("--force"), std::string::npos);
    EXPECT_EQ(read_file(src / (name + "_linea.txt")), "edited");
    EXPECT_EQ(run({"sources", src.string(), "--force"}, o, e), 0);
    EXPECT_EQ(read_file(src / (name + "_linea.txt")), testo_lista(sorgenti::righe_linea()));
}

TEST_F(RoundTrip, FaultySourcesGiveTheFilesTheProgramWouldWrite) {
    // A duplicated signal stops the reader; the program writes its files all
    // the same, and so does the tool, with the same bytes.
    std::string run_text = testo_lista(sorgenti::righe_treno());
    const std::string signal = "segnale,    9800,";
    const std::size_t at = run_text.find(signal);
    ASSERT_NE(at, std::string::npos);
    run_text.insert(run_text.find("\r\n", at) + 2, run_text.substr(at, run_text.find("\r\n", at) + 2 - at));
    const std::string line = testo_lista(sorgenti::righe_linea());

    const fs::path program_dir = root_ / "programma";
    fs::create_directories(program_dir);
    stato_scenario s;
    s.nome_scenario = name;
    s.numero_treno = train;
    int32_t j = 1;
    sorgenti_in_memoria in_memory{line, run_text};
    ASSERT_TRUE(memorizza_percorso(s, j, in_memory, program_dir).ok());
    ASSERT_EQ(s.codice_errore, 16);

    write_file(root_ / "l.txt", line);
    write_file(root_ / "r.txt", run_text);
    const compile_request r{{root_ / "l.txt", root_ / "r.txt", {name, train}}, true, root_ / "out"};
    const compile_result e = compile_sources(r);
    ASSERT_TRUE(e.status) << e.status.error();
    EXPECT_EQ(e.codice_errore, 16);
    ASSERT_EQ(e.written.size(), 3u);
    for (const fs::path& p : e.written)
        EXPECT_TRUE(read_file(p) == read_file(program_dir / p.filename())) << p;
}

TEST_F(RoundTrip, ACompileNeverReplacesItsInput) {
    // Sources named like the compiled files, compiled into their own directory.
    const fs::path cella = root_ / nome_file_celle_compilato("X", "1");
    write_file(cella, testo_lista(sorgenti::righe_linea()));
    write_file(root_ / "r.txt", testo_lista(sorgenti::righe_treno()));
    const std::string before = read_file(cella);
    const compile_request r{{cella, root_ / "r.txt", {"X", "1"}}, true, root_.path()};
    const compile_result e = compile_sources(r);
    ASSERT_FALSE(e.status);
    EXPECT_NE(e.status.error().find("would replace the input file"), std::string::npos);
    EXPECT_EQ(read_file(cella), before);
}

}  // namespace
}  // namespace scenario::tool
