// The command line: help, usage errors and exit statuses, and the text form
// of the compile's report.
#include "tools/command_line.h"

#include "common/line_list.h"
#include "sources/writers.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace scenario::strumento {
namespace {

namespace fs = std::filesystem;

struct uscita_comando {
    int stato;
    std::string out;
    std::string err;
};
uscita_comando lancia(const std::vector<std::string>& parole) {
    std::ostringstream o, e;
    const int stato = esegui(parole, o, e);
    return {stato, o.str(), e.str()};
}

TEST(RigaDiComando, HelpForTheToolAndForEachCommand) {
    for (const std::vector<std::string>& parole : {std::vector<std::string>{"--help"}, {"-h"}, {"help"}}) {
        const uscita_comando u = lancia(parole);
        EXPECT_EQ(u.stato, 0);
        for (const char* comando : {"sources", "compile", "dump", "plan"})
            EXPECT_NE(u.out.find(comando), std::string::npos) << comando;
    }
    for (const char* comando : {"sources", "compile", "dump", "plan"}) {
        const uscita_comando a = lancia({comando, "--help"});
        const uscita_comando b = lancia({"help", comando});
        EXPECT_EQ(a.stato, 0);
        EXPECT_EQ(a.out, b.out);
        EXPECT_NE(a.out.find(std::string("Usage: scenario ") + comando), std::string::npos);
    }
}

TEST(RigaDiComando, UsageErrorsExitWithTwoAndSayWhatIsWrong) {
    struct caso {
        std::vector<std::string> parole;
        const char* parola;
    } casi[] = {
        {{}, "Usage"},
        {{"build"}, "unknown command 'build'"},
        {{"help", "build"}, "unknown command 'build'"},
        {{"compile", "--line", "a"}, "missing --run, --name, --train"},
        {{"compile", "--line", "a", "--run", "b", "--name", "N", "--train", "1", "--line", "c"},
         "--line given twice"},
        {{"compile", "--line"}, "--line needs a value"},
        {{"compile", "--json=yes"}, "--json takes no value"},
        {{"compile", "--fast"}, "unknown option --fast"},
        {{"compile", "--line", "a", "--run", "b", "--name", "N", "--train", "1", "extra"},
         "unexpected argument extra"},
        {{"sources"}, "missing the directory"},
        {{"plan", "--name", "N", "--train", "1", "--svg", "x.svg"}, "missing the directory"},
        {{"plan", "DIR"}, "missing --name, --train, --svg"},
    };
    for (const caso& c : casi) {
        const uscita_comando u = lancia(c.parole);
        EXPECT_EQ(u.stato, 2) << c.parola;
        EXPECT_NE(u.err.find(c.parola), std::string::npos) << u.err;
    }
}

class CompilaTesto : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device caso;
        radice_ = fs::temp_directory_path() / ("scenario_tool_cli_" + std::to_string(caso()));
        fs::create_directories(radice_);
        std::ofstream(radice_ / "l.txt", std::ios::binary) << testo_lista(sorgenti::righe_linea());
        std::ofstream(radice_ / "r.txt", std::ios::binary) << testo_lista(sorgenti::righe_treno());
    }
    void TearDown() override { fs::remove_all(radice_); }

    uscita_comando compila(const std::string& linea, const std::string& corsa,
                           const std::string& nome = "N") {
        return lancia({"compile", "--line", (radice_ / linea).string(), "--run", (radice_ / corsa).string(),
                       "--name", nome, "--train", "1", "--out", (radice_ / "out").string()});
    }

    fs::path radice_;
};

TEST_F(CompilaTesto, InputThatCannotBeReadOrNamesThatCannotNameFilesExitWithTwo) {
    uscita_comando u = compila("l.txt", "missing.txt");
    EXPECT_EQ(u.stato, 2);
    EXPECT_NE(u.err.find("missing.txt: no such file"), std::string::npos) << u.err;
    u = compila("l.txt", ".");
    EXPECT_EQ(u.stato, 2);
    EXPECT_NE(u.err.find("is a directory"), std::string::npos) << u.err;
    for (const char* nome : {"a/b", "a\\b", "", ".."}) {
        u = compila("l.txt", "r.txt", nome);
        EXPECT_EQ(u.stato, 2) << nome;
        EXPECT_NE(u.err.find("the scenario name"), std::string::npos) << u.err;
    }
    EXPECT_FALSE(fs::exists(radice_ / "out"));
}

TEST_F(CompilaTesto, TheReportNamesFileLineSeverityAndTheErrorRecord) {
    uscita_comando u = compila("l.txt", "r.txt");
    EXPECT_EQ(u.stato, 0) << u.err;
    EXPECT_EQ(u.err, "");
    EXPECT_NE(u.out.find("compiled without errors"), std::string::npos);

    // The program's signal at 3650 m given twice: the second one fails.
    std::string corsa = testo_lista(sorgenti::righe_treno());
    const std::string segnale = "segnale,    3650,   1, 4, 1,  0, 0,    0,  0,0,0, 0\r\n";
    const std::size_t dove = corsa.find(segnale);
    ASSERT_NE(dove, std::string::npos);
    corsa.insert(dove, segnale);
    const int riga = 2 + static_cast<int>(std::count(
                             corsa.begin(), corsa.begin() + static_cast<std::ptrdiff_t>(dove), '\n'));
    std::ofstream(radice_ / "doppio.txt", std::ios::binary) << corsa;
    u = compila("l.txt", "doppio.txt");
    EXPECT_EQ(u.stato, 1);
    const std::string atteso =
        (radice_ / "doppio.txt").string() + ":" + std::to_string(riga) +
        ": reader error 16 at 3650 m: signal at 3650 m: its cell (3700 to 3750 m) is already "
        "taken by a signal (the signal at 3650 m on line " +
        std::to_string(riga - 1) + ") [reading stopped there]\n";
    EXPECT_NE(u.err.find(atteso), std::string::npos) << u.err;
    EXPECT_NE(u.err.find("error record: codice_errore 16, posizione_errore 3650\n"), std::string::npos)
        << u.err;
    // The files are written all the same, as the program writes them.
    EXPECT_TRUE(fs::exists(radice_ / "out" / "N_1.dat"));
}

}  // namespace
}  // namespace scenario::strumento
