// Warnings on a small clean scenario (tests/data/warnings: a 12 km line and a
// run over it) edited the way authors slip: each edit must draw its warning at
// the right file, line and columns, and no edit may change a compiled byte
// whether warnings are collected or not.
#include "compiler/warnings.h"

#include "common/line_list.h"
#include "compiler/compile_driver.h"
#include "compiler/compiled_files.h"
#include "compiler/source_store.h"
#include "sources/writers.h"
#include "tests/support/files.h"
#include "tools/commands/compile_command.h"
#include "tools/words/diagnostics.h"
#include "tools/words/warning_words.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace scenario {
namespace {

using test_support::read_file;

const std::string fixture = std::string(SCENARIO_TEST_DATA) + "/warnings/";

struct sources {
    std::string line = read_file(fixture + "Prova_linea.txt");
    std::string run = read_file(fixture + "Prova_101-.txt");
};

// `text` with its 1-based line `n` replaced by `replacement` (CR LF lines).
std::string with_line(const std::string& text, int n, const std::string& replacement) {
    std::size_t start = 0;
    for (int i = 1; i < n; ++i)
        start = text.find("\r\n", start) + 2;
    const std::size_t end = text.find("\r\n", start);
    return text.substr(0, start) + replacement + text.substr(end);
}

struct compiled {
    stato_scenario state;
    compile_log log;
    std::optional<error_code> stamp;
    std::string bytes;  // the three encoded files
};

compiled compile(const sources& src, bool with_log, const std::string& name = "Prova") {
    compiled c;
    c.state.nome_scenario = name;
    c.state.numero_treno = "101";
    sorgenti_in_memoria store(src.line, src.run);
    c.stamp = compila_scenario(c.state, 1, store, {}, with_log ? &c.log : nullptr);
    c.bytes =
        codifica_tracciato(c.state.tracciato) + codifica_voci(c.state.voci) + codifica_celle(c.state.celle);
    return c;
}

std::string listed(const compile_log& log) {
    std::string t;
    for (const logged_warning& w : log.warnings)
        t += "\n  " + std::string(warning_name(w.code)) + " line " + std::to_string(w.place.line) +
             " columns " + std::to_string(w.first_column) + "-" + std::to_string(w.last_column);
    return t;
}

TEST(Warnings, TheCleanFixtureAndTheProgramsOwnSourcesDrawNone) {
    const compiled fixture_compile = compile(sources{}, true);
    EXPECT_EQ(fixture_compile.state.codice_errore, 0);
    EXPECT_FALSE(fixture_compile.stamp);
    EXPECT_TRUE(fixture_compile.log.warnings.empty()) << listed(fixture_compile.log);

    sources own;
    own.line = testo_lista(sorgenti::righe_linea());
    own.run = testo_lista(sorgenti::righe_treno());
    const compiled program = compile(own, true, "Calvena_Roccalba");
    EXPECT_EQ(program.state.codice_errore, 0);
    EXPECT_TRUE(program.log.warnings.empty()) << listed(program.log);
}

struct mistake {
    const char* name;
    sorgente_testo source;
    int line;
    std::string text;  // the edited line
    const char* code;
    int first_column;
    int last_column;
};

void PrintTo(const mistake& m, std::ostream* os) {
    *os << m.name;
}

class AuthorMistakes : public ::testing::TestWithParam<mistake> {};

TEST_P(AuthorMistakes, DrawTheirWarningAndChangeNoByte) {
    const mistake& m = GetParam();
    sources src;
    std::string& edited = m.source == sorgente_testo::linea ? src.line : src.run;
    edited = with_line(edited, m.line, m.text);

    const compiled logged = compile(src, true);
    const compiled plain = compile(src, false);
    EXPECT_EQ(logged.bytes, plain.bytes) << "warnings changed the compiled files";
    EXPECT_EQ(logged.state.codice_errore, plain.state.codice_errore);
    EXPECT_EQ(logged.state.posizione_errore, plain.state.posizione_errore);

    bool found = false;
    for (const logged_warning& w : logged.log.warnings) {
        if (warning_name(w.code) != m.code)
            continue;
        found = true;
        EXPECT_TRUE(w.place.known);
        EXPECT_EQ(w.place.source, m.source);
        EXPECT_EQ(w.place.line, m.line);
        EXPECT_EQ(w.first_column, m.first_column);
        EXPECT_EQ(std::max(w.first_column, w.last_column), m.last_column);
        break;
    }
    EXPECT_TRUE(found) << "no " << m.code << " among:" << listed(logged.log);

    // Every warning turns into words without a crash, and --ignore removes it.
    const tool::worded_warnings words = tool::word_warnings(logged.state, logged.log, {});
    for (const tool::worded_warning& a : words.list)
        EXPECT_FALSE(a.message.empty());
    const tool::worded_warnings without =
        tool::word_warnings(logged.state, logged.log, {*warning_from_name(m.code)});
    for (const tool::worded_warning& a : without.list)
        EXPECT_NE(warning_name(a.code), m.code);
}

TEST(Warnings, RunningTimeGivesBothTimes) {
    sources src;
    src.run = with_line(src.run, 15,
                        "stazione,    5250, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,   30,  8,18, 0, MEZZO");
    const compiled c = compile(src, true);
    const tool::worded_warnings words = tool::word_warnings(c.state, c.log, {});
    const auto w = std::find_if(words.list.begin(), words.list.end(), [](const tool::worded_warning& a) {
        return a.code == warning_code::running_time;
    });
    ASSERT_NE(w, words.list.end());
    // 3 minutes scheduled; 5250 m at 80 km/h (236.25 s) and the 30 s stop.
    EXPECT_NE(w->message.find("3 min 00 s"), std::string::npos) << w->message;
    EXPECT_NE(w->message.find("4 min 27 s"), std::string::npos) << w->message;
    EXPECT_NE(w->message.find("30 s stop"), std::string::npos) << w->message;
}

INSTANTIATE_TEST_SUITE_P(
    Fixture, AuthorMistakes,
    ::testing::Values(
        mistake{"TypoInAKeyword", sorgente_testo::linea, 20, "montagan,   4000,  4600,  12",
                "unknown-keyword", 1, 28},
        mistake{"KeywordWithoutItsComma", sorgente_testo::corsa, 12, "velocita    6000,    100",
                "missing-comma", 1, 16},
        mistake{"CommentHoldingKeywords", sorgente_testo::corsa, 10, "velocita e aderenza da qui",
                "keyword-in-text", 1, 26},
        mistake{"GeneralKeywordInTheBody", sorgente_testo::linea, 22, "sfondo uno,    1", "misplaced-keyword",
                1, 16},
        mistake{"BodyKeywordInTheGeneralSection", sorgente_testo::linea, 9, "pendenza,  0,  2",
                "misplaced-keyword", 1, 16},
        mistake{"RunKeywordInTheLineDescription", sorgente_testo::linea, 24, "segnale, 1000",
                "misplaced-keyword", 1, 13},
        mistake{"ProgressiveWithACapital", sorgente_testo::linea, 4,
                "Progressiva chilometrica due,    0,    0,    0", "keyword-case", 1, 46},
        mistake{"NumberInWords", sorgente_testo::corsa, 8, "aderenza,   4000,    ottantacinque",
                "not-a-number", 22, 34},
        mistake{"DecimalNumber", sorgente_testo::corsa, 4, "sabbia,    11.5", "not-a-number", 12, 15},
        mistake{"LettersForDigits", sorgente_testo::linea, 2, "lunghezza percorso,    137OO", "not-a-number",
                24, 28},
        mistake{"EmptyTunnelClass", sorgente_testo::linea, 21, "montagna,   8000,  8300,  ", "empty-value",
                27, 27},
        mistake{"ExtraComma", sorgente_testo::linea, 17, "pendenza,  6000,,  8", "too-many-fields", 20, 20},
        mistake{"StationNameWithAComma", sorgente_testo::corsa, 16,
                "stazione,   11500, 12,  400,  0, 0, 0,  1,1,0,  2,1,1,    0,  8,28, 0, ULTIMA, CENTRALE",
                "too-many-fields", 80, 87},
        mistake{"MissingLastValue", sorgente_testo::corsa, 20,
                "segnale,    3000,   1, 4, 1,  0, 0,    0,  0,0,0", "too-few-fields", 1, 48},
        mistake{"AdhesionBeyondItsByte", sorgente_testo::corsa, 9, "aderenza,   4600,    300",
                "value-wrapped", 22, 24},
        mistake{"GradientBeyondItsByte", sorgente_testo::linea, 16, "pendenza,  3000,  -150", "value-wrapped",
                19, 22},
        mistake{"RepeatedSpeedPosition", sorgente_testo::corsa, 12, "velocita,       0,    100",
                "profile-order", 1, 25},
        mistake{"GradientsOutOfOrder", sorgente_testo::linea, 17, "pendenza,  2000,  8", "profile-order", 1,
                19},
        mistake{"TunnelEndingBeforeItsStart", sorgente_testo::linea, 21, "montagna,   8300,  8000,  11",
                "tunnel-end", 20, 23},
        mistake{"SlowdownOfNoLength", sorgente_testo::corsa, 18,
                "rallentamento,   7000,    30,  0, 0,  1,  0", "slowdown-length", 32, 32},
        mistake{"SignalInTheRunOff", sorgente_testo::corsa, 22,
                "segnale,    12500,   1, 3, 1,  0, 0,    0,  0,0,0, 0", "in-run-off", 13, 17},
        mistake{"Utf8StationName", sorgente_testo::corsa, 15,
                "stazione,    5250, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,   30,  8,20, 0, SPARS\xC3\x88",
                "not-windows-1252", 72, 78},
        mistake{"ByteOrderMark", sorgente_testo::linea, 1,
                "\xEF\xBB\xBF"
                "[generale]",
                "byte-order-mark", 1, 13},
        mistake{"RunDescriptionWithoutGenerale", sorgente_testo::corsa, 1, "[generali]",
                "run-general-missing", 1, 10},
        mistake{"SpeedLimitNotAMultipleOf5", sorgente_testo::corsa, 12, "velocita,    6000,    92",
                "speed-rounded", 23, 24},
        mistake{"BoardRightSpeedNotAMultipleOf5", sorgente_testo::linea, 23,
                "indicatori_vmax,  400,  75,  80,  80,  0,  62,  ,  ,  0", "speed-rounded", 44, 45},
        mistake{"TunnelStartMistyped", sorgente_testo::linea, 21, "montagna,   4400,  8300,  11",
                "tunnel-overlap", 13, 23},
        mistake{"TunnelsOutOfOrder", sorgente_testo::linea, 21, "montagna,   1000,  1300,  11",
                "tunnel-order", 13, 23},
        mistake{"CurveStartingInsideThePreviousOne", sorgente_testo::linea, 12, "curvas6,  800,  50",
                "curve-overlap", 11, 18},
        mistake{"StationTimeGoingBack", sorgente_testo::corsa, 16,
                "stazione,   11500, 12,  400,  0, 0, 0,  1,1,0,  2,1,1,    0,  8,18, 0, ULTIMA",
                "time-backwards", 63, 69},
        mistake{"StopSoonerThanThePermittedSpeedAllows", sorgente_testo::corsa, 15,
                "stazione,    5250, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,   30,  8,18, 0, MEZZO",
                "running-time", 63, 69},
        mistake{"StationMinutesOf75", sorgente_testo::corsa, 15,
                "stazione,    5250, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,   30,  8,75, 0, MEZZO",
                "time-out-of-range", 65, 66},
        mistake{"ClockSecondsOf60", sorgente_testo::corsa, 5, "orologio,    8              15            60",
                "time-out-of-range", 43, 44},
        mistake{"SignalOffTheCellGrid", sorgente_testo::corsa, 20,
                "segnale,    3020,   1, 4, 1,  0, 0,    0,  0,0,0, 0", "position-rounded", 13, 16},
        mistake{"SignalTimeWithoutSx2", sorgente_testo::corsa, 20,
                "segnale,    3000,   1, 4, 1,  0, 0,    0,  0,0,0, 245", "value-ignored", 51, 53},
        mistake{"ByteOfTheFirstStation", sorgente_testo::corsa, 14,
                "stazione,       0,  4,  600,  0, 1, 0,  1,1,0,  4,1,1,    1,  8,15, 0, PRIMA",
                "value-ignored", 34, 34},
        mistake{"SignalValuesBeyondTheirPack", sorgente_testo::corsa, 21,
                "segnale,    6500,   2, 4000, 1,  0, 0,    0,  0,0,0, 0", "value-wrapped", 24, 27},
        mistake{"CurveOfNoLength", sorgente_testo::linea, 13, "curvad4,  5000,  0", "curve-length", 18, 18},
        mistake{"TunnelOfClass0", sorgente_testo::linea, 21, "montagna,   8000,  8300,  0", "value-ignored",
                27, 27},
        mistake{"CoachesGivenTwice", sorgente_testo::corsa, 4, "numero vetture,    4", "repeated-setting", 1,
                14}),
    [](const ::testing::TestParamInfo<mistake>& row) { return std::string(row.param.name); });

// The words of a few warnings, where the numbers matter.
std::string words_for(const sources& src, warning_code code, const std::string& name = "Prova") {
    const compiled c = compile(src, true, name);
    for (const tool::worded_warning& a : tool::word_warnings(c.state, c.log, {}).list)
        if (a.code == code)
            return a.message;
    return "no " + std::string(warning_name(code)) + ":" + listed(c.log);
}

TEST(Warnings, SayWhatTheCompilerDid) {
    sources typo;
    typo.run = with_line(typo.run, 20, "segnlae,    3000,   1, 4, 1,  0, 0,    0,  0,0,0, 0");
    EXPECT_EQ(words_for(typo, warning_code::unknown_keyword),
              "'segnlae' matches no keyword: its 11 values are read as keyword fields and nothing is stored; "
              "did you mean 'segnale'?");

    sources wrap;
    wrap.run = with_line(wrap.run, 9, "aderenza,   4600,    300");
    EXPECT_NE(words_for(wrap, warning_code::value_wrapped).find("300 does not fit"), std::string::npos);
    EXPECT_NE(words_for(wrap, warning_code::value_wrapped).find("stored as 44"), std::string::npos);

    sources utf8;
    utf8.run = with_line(
        utf8.run, 14, "stazione,    5250, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,   30,  8,20, 0, SPARS\xC3\x88");
    const std::string shown = words_for(utf8, warning_code::not_windows_1252);
    EXPECT_NE(shown.find("C3 88"), std::string::npos) << shown;
    EXPECT_NE(shown.find("SPARS\xC3\x83\xCB\x86"), std::string::npos) << shown;

    sources order;
    order.line = with_line(order.line, 17, "pendenza,  2000,  8");
    const std::string o = words_for(order, warning_code::profile_order);
    EXPECT_NE(o.find("line 16 at 3000 m"), std::string::npos) << o;

    EXPECT_NE(words_for(sources{}, warning_code::name_not_ascii, "Prov\xE0").find("not plain ASCII"),
              std::string::npos);
}

// A keyword field that matches nothing in its part names the keyword of that
// part it is a slip of, and nothing when no keyword there is near.
TEST(Warnings, NameTheNearestKeywordOfThePart) {
    struct row {
        sorgente_testo source;
        int line;
        const char* text;
        warning_code code;
        const char* suggestion;  // "": none
    };
    const row rows[] = {
        {sorgente_testo::corsa, 14,
         "stazoine,    5250, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,   30,  8,20, 0, X",
         warning_code::unknown_keyword, "did you mean 'stazione'?"},
        {sorgente_testo::linea, 20, "montagan,   4000,  4600,  12", warning_code::unknown_keyword,
         "did you mean 'montagna'?"},
        {sorgente_testo::corsa, 20, "curvas5,  400,  550", warning_code::misplaced_keyword, ""},
        {sorgente_testo::corsa, 20, "binario,  400", warning_code::unknown_keyword, ""},
    };
    for (const row& r : rows) {
        sources src;
        std::string& edited = r.source == sorgente_testo::linea ? src.line : src.run;
        edited = with_line(edited, r.line, r.text);
        const std::string words = words_for(src, r.code);
        if (*r.suggestion == '\0')
            EXPECT_EQ(words.find("did you mean"), std::string::npos) << words;
        else
            EXPECT_TRUE(words.ends_with(std::string("; ") + r.suggestion)) << words;
    }
}

// The warnings that name a second line carry it as a related place.
TEST(Warnings, SayWhatWasStoredAndNameTheOtherLine) {
    struct row {
        sorgente_testo source;
        int line;
        std::string text;
        warning_code code;
        std::vector<std::string> words;
        int related_line;  // 0: none
    };
    const std::vector<row> rows = {
        {sorgente_testo::corsa,
         12,
         "velocita,    6000,    92",
         warning_code::speed_rounded,
         {"92 km/h is not a multiple of 5", "stored as 90 km/h"},
         0},
        {sorgente_testo::linea,
         21,
         "montagna,   4400,  8300,  11",
         warning_code::tunnel_overlap,
         {"from 4400 m to 8300 m", "tunnel of line 20 (4000 m to 4600 m)", "class is stored as 3"},
         20},
        {sorgente_testo::linea, 21, "montagna,   9000,  9300,  11", warning_code::tunnel_overlap, {}, 0},
        {sorgente_testo::linea,
         12,
         "curvas6,  800,  50",
         warning_code::curve_overlap,
         {"up to 950 m", "bends nowhere"},
         11},
        {sorgente_testo::linea,
         12,
         "curvas6,  900,  100",
         warning_code::curve_overlap,
         {"bends from 950 m to 1000 m, 50 m less than written"},
         11},
        {sorgente_testo::corsa,
         16,
         "stazione,   11500, 12,  400,  0, 0, 0,  1,1,0,  2,1,1,    0,  8,18, 0, ULTIMA",
         warning_code::time_backwards,
         {"08:18:00 is earlier than 08:20:00", "line 15"},
         15},
        {sorgente_testo::corsa,
         15,
         "stazione,    5250, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,   30,  8,75, 0, MEZZO",
         warning_code::time_out_of_range,
         {"minutes 75 lie outside 0 to 59", "33300 s after midnight (09:15:00)"},
         0},
        {sorgente_testo::linea,
         21,
         "montagna,   8025,  8310,  11",
         warning_code::position_rounded,
         {"(inizio, value 1) 8025 m", "placed as if at 8000 m"},
         0},
        {sorgente_testo::corsa,
         18,
         "rallentamento,   7000,    30,  320, 0,  1,  0",
         warning_code::position_rounded,
         {"the slowdown's end (its start plus its length) 7320 m", "as if at 7300 m"},
         0},
        {sorgente_testo::corsa,
         20,
         "segnale,    3000,   2, 4, 1,  0, 0,    0,  0,0,0, 50",
         warning_code::value_ignored,
         {"(tempo, value 11) 50 is stored as 101"},
         0},
        {sorgente_testo::corsa,
         18,
         "rallentamento,   1500,    30,  300, 0,  1,  0",
         warning_code::value_ignored,
         {"(f_ta, value 5) 1 is not stored", "at 1500 m or less has no advance cell"},
         0},
        {sorgente_testo::corsa,
         15,
         "stazione,    5250, 22,  300,  0, 1, 1,  0,0,0,  4,1,1,   30,  8,20, 0, MEZZO",
         warning_code::value_ignored,
         {"(byte5, value 5) 1 is not stored", "area of 600 m or more"},
         0},
        {sorgente_testo::linea,
         23,
         "indicatori_vmax,  400,  75,  80,  80,  4000,  ,  ,  ,  1",
         warning_code::value_wrapped,
         {"(strisces, value 5) 4000 is packed", "into 40001", "stored as -25535"},
         0},
        {sorgente_testo::corsa,
         4,
         "numero vetture,    4",
         warning_code::repeated_setting,
         {"'numero vetture' is given again", "line 2"},
         2},
    };
    for (const row& r : rows) {
        sources src;
        std::string& edited = r.source == sorgente_testo::linea ? src.line : src.run;
        edited = with_line(edited, r.line, r.text);
        const compiled c = compile(src, true);
        if (r.words.empty()) {
            EXPECT_TRUE(c.log.warnings.empty()) << r.text << listed(c.log);
            continue;
        }
        const tool::worded_warnings words = tool::word_warnings(c.state, c.log, {});
        const auto w = std::find_if(words.list.begin(), words.list.end(),
                                    [&](const tool::worded_warning& a) { return a.code == r.code; });
        ASSERT_NE(w, words.list.end()) << r.text << listed(c.log);
        for (const std::string& part : r.words)
            EXPECT_NE(w->message.find(part), std::string::npos) << w->message;
        if (r.related_line == 0) {
            EXPECT_TRUE(w->related.empty()) << w->message;
            continue;
        }
        ASSERT_EQ(w->related.size(), 1u) << w->message;
        EXPECT_EQ(w->related[0].source, r.source);
        EXPECT_EQ(w->related[0].line, r.related_line);
        EXPECT_EQ(w->related[0].column, 1);
    }
}

// Two progressives with the same start: the ordering stores none of them.
TEST(Warnings, ProgressivesSharingTheirStartAreAllDropped) {
    sources src;
    src.line = with_line(src.line, 3, "progressiva chilometrica uno,    1000,    12000,    0");
    src.line = with_line(src.line, 4, "progressiva chilometrica due,    1000,    9000,    0");
    const compiled c = compile(src, true);
    for (int slot : {voce_progressiva_tre, voce_progressiva_due, voce_progressiva_uno})
        EXPECT_EQ(c.state.voci[static_cast<std::size_t>(slot)].valore2, 0);
    ASSERT_EQ(c.log.warnings.size(), 1u) << listed(c.log);
    EXPECT_EQ(c.log.warnings[0].code, warning_code::progressives_dropped);
    EXPECT_EQ(c.log.warnings[0].place.line, 3);
    EXPECT_NE(words_for(src, warning_code::progressives_dropped).find("the largest, 1000 m, is shared"),
              std::string::npos);

    // Starts of 0 and an end above 0: ordered by their ends, nothing dropped.
    sources ends;
    ends.line = with_line(ends.line, 4, "progressiva chilometrica due,    0,    9000,    0");
    EXPECT_TRUE(compile(ends, true).log.warnings.empty());
}

// Times that only look backwards: a station with time 0 is passed and has
// none, and a step back of more than 12 hours passes midnight.
TEST(Warnings, TimesPastMidnightAndPassedStationsAreNotBackwards) {
    sources src;
    src.run = with_line(src.run, 14,
                        "stazione,       0,  4,  600,  0, 0, 0,  1,1,0,  4,1,1,    1,  23,50, 0, PRIMA");
    src.run =
        with_line(src.run, 15, "stazione,    5250, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,    0,  0,0, 0, MEZZO");
    src.run = with_line(src.run, 16,
                        "stazione,   11500, 12,  400,  0, 0, 0,  1,1,0,  2,1,1,    0,  0,10, 0, ULTIMA");
    const compiled c = compile(src, true);
    EXPECT_TRUE(c.log.warnings.empty()) << listed(c.log);
}

TEST(Warnings, RunDescriptionWithoutStations) {
    sources src;
    for (int line : {14, 15, 16})
        src.run = with_line(src.run, line, "[stazioni]");
    const compiled c = compile(src, true);
    ASSERT_EQ(c.log.warnings.size(), 1u) << listed(c.log);
    EXPECT_EQ(c.log.warnings[0].code, warning_code::no_station);
}

TEST(Warnings, Utf16FileIsNamedInTheWarningAndInError102) {
    sources src;
    std::string utf16 = "\xFF\xFE";
    for (char ch : src.line) {
        utf16 += ch;
        utf16 += '\0';
    }
    src.line = utf16;
    const compiled c = compile(src, true);
    EXPECT_EQ(c.state.codice_errore, 102);
    ASSERT_FALSE(c.log.warnings.empty());
    EXPECT_EQ(c.log.warnings[0].code, warning_code::utf16_file);
    const std::vector<tool::diagnosis> d = tool::diagnose(c.state, c.log, c.stamp);
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].line, 1);
    EXPECT_NE(d[0].message.find("UTF-16"), std::string::npos) << d[0].message;
}

TEST(Warnings, Error102SaysWhenGeneraleIsTheLastField) {
    sources src;
    src.line = "lunghezza percorso, 12000\r\n[generale]";
    const compiled c = compile(src, true);
    ASSERT_EQ(c.state.codice_errore, 102);
    const std::vector<tool::diagnosis> d = tool::diagnose(c.state, c.log, c.stamp);
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].line, 1);
    EXPECT_NE(d[0].message.find("the file's last field"), std::string::npos) << d[0].message;
}

// Nonsense of a megabyte: warnings are kept up to a limit per code, the rest counted.
TEST(Warnings, KeptUpToALimitPerCode) {
    sources src;
    std::string nonsense;
    for (int i = 0; i < 100000; ++i)
        nonsense += "zzz, 1\r\n";
    src.run = with_line(src.run, 23, nonsense + "[codici]");
    const compiled c = compile(src, true);
    EXPECT_EQ(c.log.warnings_found[static_cast<std::size_t>(warning_code::unknown_keyword)], 100000u);
    EXPECT_LE(c.log.warnings.size(), warnings_kept_per_code * warning_code_count);
    const tool::worded_warnings words = tool::word_warnings(c.state, c.log, {});
    ASSERT_FALSE(words.not_shown.empty());
    EXPECT_EQ(words.not_shown[0].second, 100000u - warnings_kept_per_code);
}

// Past the limit only counted; every one kept, the last included, keeps its suggestion.
TEST(Warnings, EveryKeptOneNamesTheNearestKeyword) {
    sources src;
    std::string slips;
    for (uint32_t i = 0; i < warnings_kept_per_code + 5; ++i)
        slips += "stazoine, 1\r\n";
    src.run = with_line(src.run, 23, slips + "[codici]");
    const compiled c = compile(src, true);
    EXPECT_EQ(c.log.warnings_found[static_cast<std::size_t>(warning_code::unknown_keyword)],
              warnings_kept_per_code + 5);
    uint32_t kept = 0;
    for (const logged_warning& w : c.log.warnings)
        if (w.code == warning_code::unknown_keyword) {
            ++kept;
            EXPECT_EQ(w.nearest_keyword, "stazione") << "line " << w.place.line;
        }
    EXPECT_EQ(kept, warnings_kept_per_code);
}

}  // namespace
}  // namespace scenario
