// The tool's compile on faulty sources: every error the readers and the
// finishing sweep can record comes out with its number, the file and line
// behind it, the position and words an author can act on.
#include "tools/commands/compile_command.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace scenario::tool {
namespace {

namespace fs = std::filesystem;

std::string righe(const std::vector<std::string>& r) {
    std::string t;
    for (const std::string& x : r)
        t += x + "\r\n";
    return t;
}

// A 10 km line: line 1 [generale], line 2 the route length, then `generale`
// from line 3, the section end "[curve]", then `corpo`, then [fine].
std::string linea(const std::vector<std::string>& generale = {}, const std::vector<std::string>& corpo = {},
                  const std::string& lunghezza = "10000") {
    std::vector<std::string> r{"[generale]", "lunghezza percorso, " + lunghezza};
    r.insert(r.end(), generale.begin(), generale.end());
    r.push_back("[curve]");
    r.insert(r.end(), corpo.begin(), corpo.end());
    r.push_back("[fine]");
    return righe(r);
}

const std::string alfa = "stazione, 0, 4, 600, 0,0,0, 1,1,0, 4,1,1, 1, 16,20,0, ALFA";
const std::string beta = "stazione, 8000, 12, 400, 0,0,0, 1,1,0, 4,1,1, 60, 16,30,0, BETA";

// A run description: lines 1 to 3 are the header and the two profiles, the
// given lines start at line 4.
std::string corsa(const std::vector<std::string>& linee) {
    std::vector<std::string> r{"[generale]", "velocita, 0, 80", "aderenza, 0, 100"};
    r.insert(r.end(), linee.begin(), linee.end());
    r.push_back("[fine]");
    return righe(r);
}

std::string segnale(int p) {
    return "segnale, " + std::to_string(p) + ", 1, 4, 1, 0, 0, 0, 0,0,0, 0";
}

class CompileDiagnostics : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device caso;
        cartella_ = fs::temp_directory_path() / ("scenario_tool_diag_" + std::to_string(caso()));
        fs::create_directories(cartella_);
    }
    void TearDown() override { fs::remove_all(cartella_); }

    compile_result compila(const std::string& testo_linea, const std::string& testo_corsa) {
        const fs::path l = cartella_ / "mia_linea.txt";
        const fs::path c = cartella_ / "mia_corsa.txt";
        std::ofstream(l, std::ios::binary) << testo_linea;
        std::ofstream(c, std::ios::binary) << testo_corsa;
        compile_request r;
        r.sources = {l, c, {"Prova", "7"}};
        r.out_dir = cartella_ / "out";
        return compile_sources(r);
    }

    fs::path cartella_;
};

struct caso_errore {
    const char* nome;
    std::string line_file;
    std::string run_file;
    int32_t number;
    sorgente_testo source;
    int32_t line;
    std::optional<int32_t> position;
    std::vector<const char*> parole;  // the message holds each of them
};

TEST_F(CompileDiagnostics, EveryErrorNumberWithItsLineAndWords) {
    using st = sorgente_testo;
    std::vector<std::string> cartelli;
    for (int k = 0; k < 77; ++k)
        cartelli.push_back("cartello_indicatore, " + std::to_string(1000 + 100 * k) + ", (G)");
    const std::string slow = "rallentamento, 5000, 30, 300, 0, 0, 0";

    const std::vector<caso_errore> casi = {
        {"route too long",
         linea({}, {}, "1000050"),
         corsa({alfa}),
         1,
         st::linea,
         2,
         {},
         {"route length 1000050 m"}},
        {"progressive not a multiple of 50",
         linea({"progressiva chilometrica uno, 0, 33525, 0"}),
         corsa({alfa}),
         2,
         st::linea,
         3,
         {},
         {"kilometric progressive", "33525 m", "multiples of 50"}},
        {"first repetition distance",
         linea({"ripetizione segnali 4 codici, 75, 0"}),
         corsa({alfa}),
         3,
         st::linea,
         3,
         {},
         {"first distance, 75 m"}},
        {"second repetition distance",
         linea({"ripetizione segnali 4 codici, 100, 275"}),
         corsa({alfa}),
         4,
         st::linea,
         3,
         {},
         {"second distance, 275 m"}},
        {"repetition without 4 or 9",
         linea({"ripetizione segnali 7 codici, 100, 250"}),
         corsa({alfa}),
         5,
         st::linea,
         3,
         {},
         {"neither 4 nor 9"}},
        {"tunnel-name board on a board",
         linea({}, {"cartello_indicatore, 5750, (A)", "cartello_indicatore, 5750, (B)"}),
         corsa({alfa}),
         6,
         st::linea,
         5,
         5750,
         {"tunnel-name board at 5750 m", "5800 to 5850 m", "already taken by a tunnel-name board",
          "on line 4"}},
        {"speed board on a speed board",
         linea({}, {"indicatori_vmax, 400, 75, 80, 80, 0, , , , 0",
                    "indicatori_vmax, 400, 75, 80, 80, 0, , , , 0"}),
         corsa({alfa}),
         21,
         st::linea,
         5,
         400,
         {"maximum-speed board at 400 m", "already taken by a maximum-speed board"}},
        {"gradient beyond the route",
         linea({}, {"pendenza, 16950, 5"}),
         corsa({alfa}),
         15,
         st::linea,
         4,
         16950,
         {"gradient at 16950 m", "end of the route", "16900 m"}},
        {"curve without class",
         linea({}, {"curvad, 400, 550"}),
         corsa({alfa}),
         103,
         st::linea,
         4,
         {},
         {"curve \"curvad\" at 400 m", "digit 1 to 6"}},
        {"number beyond 32 bits",
         linea({}, {"pendenza, 99999999999, 0"}),
         corsa({alfa}),
         25,
         st::linea,
         4,
         {},
         {"gradient", "32-bit"}},
        {"abbattimento on a signal",
         linea(),
         corsa({alfa, beta, segnale(3650), "abbattimento, 3700, 5"}),
         7,
         st::corsa,
         7,
         3700,
         {"abbattimento point at 3700 m", "already taken by a signal (the signal at 3650 m on line 6)"}},
        {"station off the 50 m grid",
         linea(),
         corsa({alfa, beta, "stazione, 9075, 12, 400, 0,0,0, 1,1,0, 4,1,1, 60, 16,40,0, GAMMA"}),
         8,
         st::corsa,
         6,
         9075,
         {"station at 9075 m", "not a multiple of 50"}},
        {"station area length",
         linea(),
         corsa({alfa, beta, "stazione, 9000, 12, 250, 0,0,0, 1,1,0, 4,1,1, 60, 16,40,0, GAMMA"}),
         9,
         st::corsa,
         6,
         9000,
         {"station at 9000 m", "250 m", "multiple of 100"}},
        // Numbers end at blanks: the message quotes the field the compiler read.
        {"station area length among blank-separated numbers",
         linea(),
         corsa({alfa, beta, "stazione, 9000 12   250 0,0,0, 1,1,0, 4,1,1, 60, 16,40,0, GAMMA"}),
         9,
         st::corsa,
         6,
         9000,
         {"station at 9000 m", "area length, 250 m,", "multiple of 100"}},
        {"too many stations",
         linea({}, cartelli),
         corsa({alfa, beta}),
         10,
         st::corsa,
         5,
         {},
         {"station BETA at 8000 m", "77 tunnel-name boards", "at most 1 stations"}},
        {"signal beyond the route",
         linea(),
         corsa({alfa, segnale(16950)}),
         15,
         st::corsa,
         5,
         16950,
         {"signal at 16950 m", "end of the route"}},
        {"signal on a signal",
         linea(),
         corsa({alfa, segnale(3650), segnale(3650)}),
         16,
         st::corsa,
         6,
         3650,
         {"signal at 3650 m: its cell (3700 to 3750 m) is already taken by a signal (the signal at 3650 m on "
          "line 5)"}},
        {"slowdown advance cell taken",
         linea(),
         corsa({alfa, segnale(3800), slow}),
         17,
         st::corsa,
         6,
         5000,
         {"slowdown at 5000 m", "advance cell", "3850 to 3900 m", "signal at 3800 m on line 5"}},
        {"slowdown start cell taken",
         linea(),
         corsa({alfa, segnale(5000), slow}),
         18,
         st::corsa,
         6,
         5000,
         {"slowdown at 5000 m", "start cell (5050 to 5100 m)", "signal at 5000 m"}},
        {"slowdown end cell taken",
         linea(),
         corsa({alfa, segnale(5300), slow}),
         19,
         st::corsa,
         6,
         5000,
         {"slowdown at 5000 m", "end cell (5350 to 5400 m)"}},
        {"slowdown approach cell taken",
         linea(),
         corsa({alfa, segnale(3700), "rallentamento, 5000, 30, 300, 0, 1, 0"}),
         20,
         st::corsa,
         6,
         5000,
         {"slowdown at 5000 m", "approach cell", "3750 to 3800 m"}},
        {"stations too close",
         linea(),
         corsa({alfa, beta, "stazione, 8500, 12, 200, 0,0,0, 1,1,0, 4,1,1, 60, 16,40,0, GAMMA"}),
         22,
         st::corsa,
         6,
         8500,
         {"station GAMMA at 8500 m", "starts at 8400 m", "BETA", "8200 m", "350 m"}},
        {"stop cell before cell 2",
         linea(),
         corsa({"stazione, 0, 4, 100, 0,0,0, 1,1,0, 4,1,1, 1, 16,20,0, ALFA"}),
         24,
         st::corsa,
         4,
         {},
         {"station ALFA at 0 m", "stop cell", "beyond 100 m"}},
        {"dwell beyond a byte",
         linea(),
         corsa({alfa, "stazione, 8000, 12, 400, 0,0,0, 1,1,0, 4,1,1, 300, 16,30,0, BETA"}),
         25,
         st::corsa,
         5,
         {},
         {"station at 8000 m", "0 to 255"}},
        {"file ends inside a line",
         linea(),
         righe({"[generale]", "velocita, 0, 80", "segnale, 3650, 1"}),
         25,
         st::corsa,
         3,
         {},
         {"signal at 3650 m", "ends before the values of this line are complete"}},
        {"signal without its mark behind an advance point",
         linea(),
         corsa({alfa, segnale(3350), segnale(3400), segnale(3450), slow}),
         11,
         st::corsa,
         7,
         3500,
         {"signal at 3450 m", "both cells in front of it (3400 to 3500 m) are taken"}},
        {"no room for an approach mark",
         linea(),
         corsa({alfa, segnale(4650), segnale(4700), segnale(4750), slow}),
         12,
         st::corsa,
         8,
         5050,
         {"slowdown at 5000 m", "approach marks"}},
        {"no room for a repeat mark",
         linea(),
         corsa({alfa, segnale(5350), segnale(5400), segnale(5450), "rallentamento, 5000, 30, 1000, 0, 0, 0"}),
         13,
         st::corsa,
         8,
         5450,
         {"slowdown at 5000 m", "5450 to 5500 m", "repeat mark"}},
        {"no line description header",
         righe({"lunghezza percorso, 10000", "[fine]"}),
         corsa({alfa}),
         102,
         st::linea,
         1,
         {},
         {"[generale]", "before the end of the file"}},
    };

    for (const caso_errore& c : casi) {
        SCOPED_TRACE(c.nome);
        const compile_result e = compila(c.line_file, c.run_file);
        ASSERT_TRUE(e.status) << e.status.error();
        ASSERT_EQ(e.errors.size(), 1u) << (e.errors.empty() ? "" : e.errors.front().message);
        const diagnosis& d = e.errors.front();
        EXPECT_EQ(d.number, c.number) << d.message;
        EXPECT_EQ(e.codice_errore, c.number);
        ASSERT_TRUE(d.source.has_value()) << d.message;
        EXPECT_EQ(*d.source, c.source) << d.message;
        EXPECT_EQ(d.line, c.line) << d.message;
        EXPECT_EQ(d.position, c.position) << d.message;
        if (c.position) {
            EXPECT_EQ(e.posizione_errore, *c.position);
        }
        EXPECT_EQ(d.severity,
                  c.number >= 11 && c.number <= 13 ? error_severity::sweep : error_severity::reader_stop);
        for (const char* parola : c.parole)
            EXPECT_NE(d.message.find(parola), std::string::npos) << d.message;
        // As in the program, the files are written whatever the readers recorded.
        EXPECT_EQ(e.written.size(), 3u);
    }
}

TEST_F(CompileDiagnostics, StampErrorsAreFatalAndWriteNothing) {
    struct caso {
        const char* riga_segnale;
        int32_t number;
        const char* parola;
    } casi[] = {
        {"segnale, 0, 1, 4, 1, 0, 0, 0, 0,0,0, 0", 1250, "dato1 = 40"},
        {"segnale, 0, 1, 0, 1, 0, 0, 0, 0,0,0, 0", 1251, "dato2 = 10"},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.number);
        const compile_result e = compila(linea(), corsa({alfa, c.riga_segnale}));
        ASSERT_TRUE(e.fatal.has_value());
        EXPECT_EQ(*e.fatal, c.number);
        ASSERT_FALSE(e.errors.empty());
        const diagnosis& d = e.errors.back();
        EXPECT_EQ(d.number, c.number);
        EXPECT_EQ(d.severity, error_severity::fatal);
        EXPECT_EQ(d.source, sorgente_testo::corsa);
        EXPECT_EQ(d.line, 5);
        EXPECT_NE(d.message.find("cell 1"), std::string::npos) << d.message;
        EXPECT_NE(d.message.find(c.parola), std::string::npos) << d.message;
        EXPECT_NE(d.message.find("signal at 0 m"), std::string::npos) << d.message;
        EXPECT_TRUE(e.written.empty());
        EXPECT_FALSE(fs::exists(cartella_ / "out"));
    }
}

TEST_F(CompileDiagnostics, EveryErrorOfACompileIsListedInOrderWithItsSeverity) {
    // The reader stops at the repeated signal; the slowdown read before it
    // still makes the sweep record error 12, which the error record keeps.
    const compile_result e =
        compila(linea(), corsa({alfa, segnale(4650), segnale(4700), segnale(4750),
                                "rallentamento, 5000, 30, 300, 0, 0, 0", segnale(4750), segnale(9000)}));
    ASSERT_EQ(e.errors.size(), 2u);
    EXPECT_EQ(e.errors[0].number, 16);
    EXPECT_EQ(e.errors[0].severity, error_severity::reader_stop);
    EXPECT_EQ(e.errors[0].line, 9);
    EXPECT_EQ(e.errors[1].number, 12);
    EXPECT_EQ(e.errors[1].severity, error_severity::sweep);
    EXPECT_EQ(e.errors[1].line, 8);
    EXPECT_EQ(e.codice_errore, 12);
    EXPECT_EQ(e.posizione_errore, 5050);
}

TEST_F(CompileDiagnostics, ALineErrorThatTheRunPhaseCarriesOnIsExplained) {
    // Error 15 in the line description lets the run description be read up to
    // its first signal, whose position the error record then takes: the
    // line's error keeps its own position and line, the stop is listed apart.
    const compile_result e = compila(linea({}, {"pendenza, 16950, 5"}), corsa({alfa, segnale(3650)}));
    ASSERT_EQ(e.errors.size(), 2u);
    const diagnosis& d = e.errors[0];
    EXPECT_EQ(d.number, 15);
    EXPECT_EQ(d.source, sorgente_testo::linea);
    EXPECT_EQ(d.line, 4);
    EXPECT_EQ(d.position, 16950);
    EXPECT_NE(d.message.find("gradient at 16950 m"), std::string::npos) << d.message;
    const diagnosis& arresto = e.errors[1];
    EXPECT_EQ(arresto.number, 15);
    EXPECT_EQ(arresto.source, sorgente_testo::corsa);
    EXPECT_EQ(arresto.line, 5);
    EXPECT_EQ(arresto.position, 3650);
    for (const char* parola : {"signal at 3650 m", "stopped here", "line 4 of the line description"})
        EXPECT_NE(arresto.message.find(parola), std::string::npos) << arresto.message;
    EXPECT_EQ(e.codice_errore, 15);
    EXPECT_EQ(e.posizione_errore, 3650);
}

// Errors about two places name the second one: the line of the item that
// holds the cell, the previous station, the error that stopped reading.
TEST_F(CompileDiagnostics, ErrorsAboutTwoPlacesNameTheSecond) {
    struct related_case {
        const char* name;
        std::string line_file;
        std::string run_file;
        int32_t number;
        int32_t line;  // of the error
        sorgente_testo related_source;
        int32_t related_line;
        const char* related_words;
    };
    const related_case cases[] = {
        {"signal on a signal's cell", linea(), corsa({alfa, segnale(3650), segnale(3650)}), 16, 6,
         sorgente_testo::corsa, 5, "the cell is taken by the signal at 3650 m placed here"},
        {"slowdown start on a signal's cell", linea(),
         corsa({alfa, segnale(5000), "rallentamento, 5000, 30, 300, 0, 0, 0"}), 18, 6, sorgente_testo::corsa,
         5, "the cell is taken by the signal at 5000 m placed here"},
        {"station too close to the one before", linea(),
         corsa({alfa, beta, "stazione, 8500, 12, 200, 0,0,0, 1,1,0, 4,1,1, 60, 16,40,0, GAMMA"}), 22, 6,
         sorgente_testo::corsa, 5, "the previous station, BETA, whose area ends at 8200 m"},
        {"run stopped by the line's error", linea({}, {"pendenza, 16950, 5"}), corsa({alfa, segnale(3650)}),
         15, 5, sorgente_testo::linea, 4, "the error 15 left here"},
    };
    for (const related_case& c : cases) {
        SCOPED_TRACE(c.name);
        const compile_result e = compila(c.line_file, c.run_file);
        const diagnosis* d = nullptr;
        for (const diagnosis& x : e.errors)
            if (x.number == c.number && x.line == c.line)
                d = &x;
        ASSERT_NE(d, nullptr);
        ASSERT_EQ(d->related.size(), 1u) << d->message;
        EXPECT_EQ(d->related[0].source, c.related_source);
        EXPECT_EQ(d->related[0].line, c.related_line);
        EXPECT_EQ(d->related[0].column, 1);
        EXPECT_EQ(d->related[0].message, c.related_words);
    }
    // An error about one place has no second one.
    const compile_result one =
        compila(linea(), corsa({"stazione, 75, 4, 600, 0,0,0, 1,1,0, 4,1,1, 1, 16,20,0, A"}));
    ASSERT_EQ(one.errors.size(), 1u);
    EXPECT_TRUE(one.errors[0].related.empty());
}

TEST_F(CompileDiagnostics, CleanSourcesGiveNoDiagnosis) {
    const compile_result e = compila(linea(), corsa({alfa, beta, segnale(3650)}));
    EXPECT_TRUE(e.status);
    EXPECT_TRUE(e.errors.empty());
    EXPECT_EQ(e.codice_errore, 0);
    EXPECT_EQ(e.written.size(), 3u);
}

}  // namespace
}  // namespace scenario::tool
