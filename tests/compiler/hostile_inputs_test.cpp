// Hostile text sources, compiled whole from memory: each must end with the
// recorded error (or a clean compile) the table names, never a crash, and the
// state must still encode into compiled files that decode back to it. Run
// under the sanitizer build, the same table also proves that nothing is read
// or written outside the arrays (the standard library's bounds checks catch an
// index off the end of the std::arrays inside the state, which AddressSanitizer
// alone cannot see).
#include "compiler/compile_driver.h"
#include "compiler/errors.h"
#include "compiler/source_store.h"
#include "fuzz/fuzz_targets.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {
namespace {

using namespace std::string_literals;

constexpr std::size_t un_mega = 1 << 20;

// ---- building the sources -----------------------------------------------------

// A 10 km line (17000 m with the spare route: cells 0..340); `corpo` after the
// general section.
std::string linea(std::string_view corpo = {}, std::string_view lunghezza = "10000") {
    return "[generale]\r\nlunghezza percorso, "s + std::string(lunghezza) + "\r\n[curve]\r\n" +
           std::string(corpo) + "[fine]\r\n";
}

std::string corsa(std::string_view corpo = {}) {
    return "[generale]\r\nvelocita, 0, 80\r\naderenza, 0, 100\r\n"s + std::string(corpo) + "[fine]\r\n";
}

// `volte` lines made by `riga` from their index 0, 1, ...
std::string righe(int volte, const std::function<std::string(int)>& riga) {
    std::string t;
    for (int i = 0; i < volte; ++i)
        t += riga(i) + "\r\n";
    return t;
}

// A station line: position, kind, area length, nine attributes, dwell, clock, name.
std::string stazione(std::string_view posizione, std::string_view tipo = "22", std::string_view area = "200",
                     std::string_view attributo = "0", std::string_view ore = "16",
                     std::string_view nome = "NOME") {
    return "stazione, "s + std::string(posizione) + ", " + std::string(tipo) + ", " + std::string(area) +
           ", 0, 0, 0, " + std::string(attributo) + ", 0, 0, 0, 0, 0, 30, " + std::string(ore) + ", 20, 0, " +
           std::string(nome) + "\r\n";
}

std::string segnale(std::string_view posizione, std::string_view valori = "1, 2, 1, 0, 0, 0, 0, 0, 0, 0") {
    return "segnale, "s + std::string(posizione) + ", " + std::string(valori) + "\r\n";
}

std::string rallentamento(std::string_view x, std::string_view l, std::string_view f_ta = "1") {
    return "rallentamento, "s + std::string(x) + ", 30, " + std::string(l) + ", 0, " + std::string(f_ta) +
           ", 0\r\n";
}

std::string cartello(int posizione, std::string_view testo = "Galleria (100 m)") {
    return "cartello_indicatore, " + std::to_string(posizione) + ", " + std::string(testo) + "\r\n";
}

std::string montagna(int inizio, int fine, int tipo = 11) {
    return "montagna, " + std::to_string(inizio) + ", " + std::to_string(fine) + ", " + std::to_string(tipo) +
           "\r\n";
}

// ---- the table ------------------------------------------------------------------

struct caso_ostile {
    std::string nome;
    std::optional<std::string> linea;
    std::optional<std::string> corsa;
    int32_t errore = 0;                      // the error left in the record; 0: a clean compile
    std::optional<int32_t> posizione = {};   // posizione_errore, where it matters
    std::optional<error_code> arresto = {};  // a stamp error that stops the program
    std::function<void(const stato_scenario&)> verifica = {};  // what else must hold
};

// The sources can be a megabyte long: name the case only.
void PrintTo(const caso_ostile& c, std::ostream* os) {
    *os << c.nome;
}

std::vector<caso_ostile> casi_ostili() {
    const std::string testo_massimo(32767, 'g');
    std::vector<caso_ostile> casi = {
        // Empty and missing sources.
        {"EmptyLineDescription", "", corsa(), 25},
        {"MissingLineDescription", std::nullopt, corsa(), 101},
        {"EmptyRunDescription", linea(), "", 25},
        {"MissingRunDescription", linea(), std::nullopt, 25},
        {"BothEmpty", "", "", 25},
        // A lone "[generale]".
        {"LoneGeneraleWithoutLineEnd", "[generale]", corsa(), 102},
        {"LoneGeneraleLine", "[generale]\r\n", corsa(), 102},
        {"GeneralSectionWithoutRouteLength", "[generale]\r\n[curve]\r\npendenza, 100, 5\r\n[fine]\r\n", corsa(), 25},
        {"LoneGeneraleRunDescription", linea(), "[generale]\r\n", 0},
        // Unterminated quotes: a quoted field runs to the end of the source.
        {"UnterminatedQuoteInBoardText", linea(cartello(1000, "\"Galleria (100 m)")), corsa(), 0, {}, {},
         [](const stato_scenario& s) { EXPECT_EQ(s.voci[80].testo, "Galleria (100 m)\r\n[fine]\r\n"); }},
        {"UnterminatedQuoteInKeyword", linea("\"pendenza, 100, 5\r\n"), corsa(), 0},
        {"UnterminatedQuoteInNumber", linea("pendenza, \"100, 5\r\n"), corsa(), 25},
        {"UnterminatedQuoteInStationName", linea(), corsa(stazione("1000", "22", "200", "0", "16", "\"CORBEZZI")), 0},
        // Lines of a megabyte.
        {"MegabyteKeywordField", linea(std::string(un_mega, 'x') + "\r\n"), corsa(), 0},
        {"MegabyteOfCommas", linea(), corsa(std::string(un_mega, ',') + "\r\n"), 0},
        {"MegabyteOfBlanksBeforeANumber", linea("pendenza," + std::string(un_mega, ' ') + "100, 5\r\n"), corsa(), 0},
        {"MegabyteNumber", linea("pendenza, " + std::string(un_mega, '7') + ", 5\r\n"), corsa(), 25},
        {"MegabyteNumberOfLeadingZeros", linea({}, std::string(un_mega, '0') + "10000"), corsa(), 0},
        {"LongestBoardText", linea(cartello(1000, testo_massimo)), corsa(), 0, {}, {},
         [t = testo_massimo](const stato_scenario& s) { EXPECT_EQ(s.voci[80].testo, t); }},
        {"BoardTextBeyondTheRunFile", linea(cartello(1000, testo_massimo + "g")), corsa(), 25},
        {"MegabyteBoardText", linea(cartello(1000, std::string(un_mega, 'g'))), corsa(), 25},
        {"MegabyteStationName", linea(), corsa(stazione("1000", "22", "200", "0", "16", std::string(un_mega, 'n'))),
         25},
        // NUL bytes.
        {"NulInsideAKeyword", linea("pen\0denza, 100, 5\r\n"s), corsa(), 0,
         {}, {}, [](const stato_scenario& s) { EXPECT_EQ(s.celle[0].pendenza, 100) << "no gradient line was read"; }},
        {"NulInsideANumber", linea({}, "10\0"s "000"), corsa(), 0, {}, {},
         [](const stato_scenario& s) { EXPECT_EQ(s.n_celle, 140) << "the length reads as 0"; }},
        {"OnlyNulBytes", std::string(1000, '\0'), std::string(1000, '\0'), 102},
        {"NulBytesInTheRunDescription", linea(), corsa(std::string(100, '\0') + "\r\n" + stazione("1000")), 0},
        // 32-bit limits.
        {"LargestRoute", linea("pendenza, 999900, 5\r\n", "1000000"), corsa(stazione("1006200") + segnale("1006900")),
         0, {}, {},
         [](const stato_scenario& s) {
             EXPECT_EQ(s.n_celle, 20140);
             EXPECT_EQ(s.voci[1].valore3, 1006200);
         }},
        {"RouteBeyond1000000", linea({}, "1000001"), corsa(), 1},
        {"RouteOfInt32Max", linea({}, "2147483647"), corsa(), 1},
        {"RouteBeyondInt32", linea({}, "2147483648"), corsa(), 25},
        {"RouteOfInt32Min", linea({}, "-2147483648"), corsa(), 25},
        {"RouteBelowInt32", linea({}, "-2147483649"), corsa(), 25},
        {"CurvePastAMillionPoints", linea("curvad1, 999000, 2000\r\n", "1000000"), corsa(), 103},
        {"CurveEndingOnTheLastPoint", linea("curvad1, 16000, 1000\r\n"), corsa(), 0},
        {"CurveEndingBeyondThePlan", linea("curvad1, 16000, 1001\r\n"), corsa(), 25},
        {"CurveOfInt32MaxLength", linea("curvas6, 100, 2147483647\r\n"), corsa(), 25},
        {"GradientAtInt32Max", linea("pendenza, 2147483647, 5\r\n"), corsa(), 15, 2147483647},
        {"BoardAtInt32Min", linea(cartello(-2147483647 - 1)), corsa(), 25},
        {"SpeedProfileAtInt32Max", linea(), corsa("velocita, 2147483647, 80\r\n"), 15, 2147483647},
        {"SignalAtInt32Max", linea(), corsa(segnale("2147483647")), 15, 2147483647},
        {"SignalAtInt32Min", linea(), corsa(segnale("-2147483648")), 15, -2147483647 - 1},
        {"SignalValuesAtInt32Limits", linea(),
         corsa(segnale("5000", "2147483647, -2147483648, 2147483647, 2147483647, 2147483647, 2147483647, "
                               "2147483647, -2147483648, 2147483647, 2147483647")),
         0},
        {"SlowdownOfInt32MaxLength", linea(), corsa(rallentamento("5000", "2147483647")), 15, 5000},
        {"SlowdownAtInt32Min", linea(), corsa(rallentamento("-2147483648", "2147483647")), 15},
        {"StationAtInt32Max", linea(), corsa(stazione("2147483647")), 15, 2147483647},
        {"StationAreaBeyondInt32", linea(), corsa(stazione("-2147483600", "7", "-2147483600")), 15},
        {"StationClockAtInt32Max", linea(), corsa(stazione("1000", "22", "200", "0", "2147483647")), 0},
        {"AbbattimentoValueAtInt32Max", linea(), corsa("abbattimento, 1000, 2147483647\r\n"), 0, {}, {},
         [](const stato_scenario& s) { EXPECT_EQ(s.celle[20].dato1, -1) << "the low 16 bits"; }},
        // 16-bit limits.
        {"ClockAt16BitLimits", linea(), corsa("orologio, 32767 -32768 0\r\nsabbia, 32767\r\n"), 0},
        {"ClockBeyond16Bits", linea(), corsa("orologio, 32768 0 0\r\n"), 25},
        {"SandBelow16Bits", linea(), corsa("sabbia, -32769\r\n"), 25},
        {"SpeedBoardAt16BitLimit", linea("indicatori_vmax, 400, 1638, 0, 0, 0, 35, 0, 0, 0\r\n"), corsa(), 0, {}, {},
         [](const stato_scenario& s) { EXPECT_EQ(s.celle[9].dato1, 32767); }},
        {"SpeedBoardBeyond16Bits", linea("indicatori_vmax, 400, 1638, 0, 0, 0, 40, 0, 0, 0\r\n"), corsa(), 25},
        {"StationAttributeBeyond16Bits", linea(), corsa(stazione("1000", "22", "200", "32768")), 25},
        // 8-bit limits.
        {"StationKind255", linea(), corsa(stazione("1000", "255")), 0},
        {"StationKind256", linea(), corsa(stazione("1000", "256")), 25},
        {"StationKindNegative", linea(), corsa(stazione("1000", "-1")), 25},
        {"SpeedLimitOf1277KmH", linea(), corsa("velocita, 1000, 1277\r\n"), 0, {}, {},
         [](const stato_scenario& s) { EXPECT_EQ(s.celle[20].velocita, 255); }},
        {"SpeedLimitOf1278KmH", linea(), corsa("velocita, 1000, 1278\r\n"), 25},
        {"NegativeSpeedLimit", linea(), corsa("velocita, 1000, -3\r\n"), 25},
        {"AdhesionBeyond8Bits", linea(), corsa("aderenza, 1000, 300\r\n"), 0, {}, {},
         [](const stato_scenario& s) { EXPECT_EQ(s.celle[20].aderenza, 44) << "the low 8 bits"; }},
        // Negative positions everywhere.
        {"NegativeGradient", linea("pendenza, -100, 5\r\n"), corsa(), 0},
        {"NegativeCurve", linea("curvad5, -100, 200\r\n"), corsa(), 0},
        {"NegativeTunnel", linea(montagna(-500, 1000)), corsa(), 25},
        {"NegativeSpeedBoard", linea("indicatori_vmax, -100, 75, 80, 80, 0, 0, 0, 0, 0\r\n"), corsa(), 25},
        {"NegativeBoard", linea(cartello(-100)), corsa(), 25},
        {"NegativeProfiles", linea(), corsa("velocita, -100, 60\r\naderenza, -100, 90\r\n"), 0},
        {"NegativeSignal", linea(), corsa(segnale("-100")), 15, -100},
        {"NegativeSlowdown", linea(), corsa(rallentamento("-500", "300")), 15, -500},
        {"NegativeStation", linea(), corsa(stazione("-1000")), 24},
        {"NegativeAbbattimento", linea(), corsa("abbattimento, -100, 60\r\n"), 15, -100},
        // More tunnels, boards and stations than there are slots.
        {"EightyTunnels", linea(righe(80, [](int i) { return montagna(200 * i, 200 * i + 100); })), corsa(), 0},
        {"EightyOneTunnels", linea(righe(81, [](int i) { return montagna(200 * i, 200 * i + 100); })), corsa(), 25},
        {"TunnelEndingBeyondTheRoute", linea(montagna(1000, 2000000)), corsa(), 25},
        {"EightyBoards", linea(righe(80, [](int i) { return cartello(100 * (i + 1)); })), corsa(), 0, {}, {},
         [](const stato_scenario& s) { EXPECT_EQ(s.voci[1].testo, "Galleria (100 m)"); }},
        {"EightyOneBoards", linea(righe(81, [](int i) { return cartello(100 * (i + 1)); })), corsa(), 25},
        {"EightyBoardsAndAStation", linea(righe(80, [](int i) { return cartello(100 * (i + 1)); })),
         corsa(stazione("10000")), 10, {}, {},
         [](const stato_scenario& s) { EXPECT_EQ(s.voci[1].testo, "Galleria (100 m)") << "board text overwritten"; }},
        {"SeventyEightStations", linea({}, "100000"),
         corsa(righe(78, [](int i) { return stazione(std::to_string(1000 * (i + 1)), "27", "100"); })),
         0},
        {"SeventyNineStations", linea({}, "100000"),
         corsa(righe(79, [](int i) { return stazione(std::to_string(1000 * (i + 1)), "27", "100"); })),
         10},
        // Elements at the edges of the route.
        {"SignalAtTheStart", linea(), corsa(segnale("0", "1, 0, 0, 0, 0, 0, 0, 0, 0, 0")), 0},
        {"SignalAt300", linea(), corsa(segnale("300")), 0, {}, {},
         [](const stato_scenario& s) {
             EXPECT_EQ(s.celle[7].tipo, tipo_cella::segnale);
             EXPECT_EQ(s.celle[5].dato6, 31);
             EXPECT_EQ(s.celle[1].dato6, 33);
         }},
        {"SignalAtTheStartStopsTheStamp", linea(), corsa(segnale("0")), 0, {}, error_code::identity_stamp_in_use},
        {"SignalAtTheLastAcceptedPosition", linea(), corsa(segnale("16900")), 0},
        {"SlowdownEndingBeyondTheRoute", linea(), corsa(rallentamento("16900", "1000")), 15, 16900},
        {"SlowdownOfLengthZero", linea(), corsa(rallentamento("5000", "0")), 0},
        {"SlowdownOfNegativeLength", linea(), corsa(rallentamento("15000", "-500")), 0},
        {"SlowdownNearTheEnd", linea(), corsa(rallentamento("15000", "550") + segnale("16000")), 0, {}, {},
         [](const stato_scenario& s) { EXPECT_EQ(s.celle[320].tipo, tipo_cella::segno); }},
        {"StationAtTheLastAcceptedPosition", linea(), corsa(stazione("16200")), 0},
        {"StationStopCellBeyondTheRoute", linea(), corsa(stazione("16200", "8", "1000")), 15, 16200},
        {"AbbattimentoJustBeforeCell0", linea(), corsa("abbattimento, -26, 60\r\n"), 15, -26},
        {"AbbattimentoRoundingToCell0", linea(), corsa("abbattimento, -25, 60\r\n"), 0, {}, {},
         [](const stato_scenario& s) { EXPECT_EQ(s.celle[0].tipo, tipo_cella::segno); }},
    };
    return casi;
}

std::string registro(const compile_log& log) {
    std::string t;
    for (const logged_error& e : log.errors)
        t += "\n  " + messaggio_errore(e);
    return t.empty() ? " (no error recorded)" : t;
}

class HostileInputs : public ::testing::TestWithParam<caso_ostile> {};

TEST_P(HostileInputs, EndWithTheRecordedErrorAndEncodeBackToTheState) {
    const caso_ostile& c = GetParam();
    stato_scenario s;
    s.nome_scenario = "Calvena_Roccalba";
    s.numero_treno = "4127";
    sorgenti_in_memoria sorgenti(c.linea, c.corsa);

    compile_log log;
    const std::optional<error_code> arresto = compila_scenario(s, 1, sorgenti, {}, &log);

    EXPECT_EQ(arresto, c.arresto);
    EXPECT_EQ(s.codice_errore, c.errore) << "errors recorded:" << registro(log);
    if (c.posizione) {
        EXPECT_EQ(s.posizione_errore, *c.posizione);
    }
    EXPECT_FALSE(sorgenti.esiste(sorgente_testo::linea)) << "the line description stayed";
    EXPECT_EQ(fuzz::controlla_stato(s, log), "");
    if (!arresto) {
        EXPECT_EQ(fuzz::controlla_file_compilati(s), "");
    }
    if (c.verifica)
        c.verifica(s);
}

INSTANTIATE_TEST_SUITE_P(Table, HostileInputs, ::testing::ValuesIn(casi_ostili()),
                         [](const ::testing::TestParamInfo<caso_ostile>& p) { return p.param.nome; });

}  // namespace
}  // namespace scenario
