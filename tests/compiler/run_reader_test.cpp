// The run description reader: keyword lines, profiles, abbattimento points,
// the end-of-file rules and how each error stops the reading.
#include "compiler/errors.h"
#include "compiler/field_reader.h"
#include "compiler/read_sources.h"
#include "tests/compiler/run_test_state.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace scenario {
namespace {

using prova::cella_n;
using prova::leggi_corsa;
using prova::voce_n;

std::string file(std::initializer_list<std::string> righe) {
    std::string t;
    for (const std::string& r : righe)
        t += r + "\r\n";
    return t;
}

const std::string stazione_calvena =
    "stazione,       0,  4,  600,  0, 0, 0,  1,1,0,  4,1,1,    1,  16,20, 0, CALVENA";
const std::string segnale_10750 = "segnale,   10750,   2, 4, 1,  0, 0,    0,  0,0,0, 245";

TEST(RunReader, TrainSandAndClock) {
    stato_scenario s = prova::stato_percorso();
    EXPECT_TRUE(
        leggi_corsa(s, file({"[generale]", "numero vetture,    3", "percentuale massa frenata,    120",
                             "sabbia,    300", "orologio,    16              19            30 ", "[fine]"})));
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(voce_n(s, 84).valore1, 120);
    EXPECT_EQ(voce_n(s, 84).valore3, 3);
    EXPECT_EQ(voce_n(s, 86).intero1, 300);
    EXPECT_EQ(voce_n(s, 86).intero3, 16);
    EXPECT_EQ(voce_n(s, 86).intero4, 19);
    EXPECT_EQ(voce_n(s, 86).intero5, 30);
}

TEST(RunReader, NothingBeforeGeneraleIsInterpreted) {
    stato_scenario s = prova::stato_percorso();
    EXPECT_TRUE(leggi_corsa(s, file({"sabbia, 100", "numero vetture, 9", "note [GENERALE] note", "[codici]",
                                     "[qualsiasi]", "sabbia, 300", "[fine]"})));
    EXPECT_EQ(voce_n(s, 86).intero1, 300);
    EXPECT_EQ(voce_n(s, 84).valore3, 0);
}

TEST(RunReader, WithoutGeneraleNoLineIsReadButTheEndStepsRun) {
    const std::string testo = file({"sabbia, 300", stazione_calvena, "velocita, 0, 80", "[fine]"});
    stato_scenario s = prova::stato_percorso();
    EXPECT_TRUE(leggi_corsa(s, testo));
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(voce_n(s, 86).intero1, 0);
    EXPECT_EQ(voce_n(s, 1).testo, "");
    EXPECT_EQ(cella_n(s, 0).velocita, 0);

    stato_scenario t = prova::stato_percorso();
    voce_n(t, 81).valore1 = 25;
    EXPECT_TRUE(leggi_corsa(t, testo));
    EXPECT_EQ(t.codice_errore, 2);
}

TEST(RunReader, MissingEmptyOrTruncatedSourceIsAReadFailure) {
    stato_scenario s = prova::stato_percorso();
    sorgenti_in_memoria mancante(std::nullopt, std::nullopt);
    log_at nessun_registro;
    EXPECT_THROW(leggi_descrizione_corsa(s, mancante, prima_voce_cartelli, nessun_registro, false),
                 errore_lettura);
    EXPECT_THROW(leggi_corsa(s, ""), errore_lettura);
    // A data line cut short by the end of the file reads past it.
    EXPECT_THROW(leggi_corsa(s, "[generale]\r\nsegnale, 1000, 1\r\n"), errore_lettura);
}

TEST(RunReader, NumbersMustFitTheirFields) {
    for (const char* riga : {"orologio, 40000, 0, 0", "sabbia, 32768", "numero vetture, 2147483648",
                             "velocita, 99999999999, 80"}) {
        stato_scenario s = prova::stato_percorso();
        EXPECT_THROW(leggi_corsa(s, file({"[generale]", riga, "[fine]"})), errore_lettura) << riga;
    }
    stato_scenario s = prova::stato_percorso();
    leggi_corsa(s, file({"[generale]", "sabbia, -32768", "[fine]"}));
    EXPECT_EQ(voce_n(s, 86).intero1, -32768);
}

TEST(RunReader, KeywordsIgnoreCaseAndMatchAnywhere) {
    stato_scenario s = prova::stato_percorso();
    leggi_corsa(
        s, file({"[Generale]", "NUMERO DELLE VETTURE, 4", "Massa Frenata In Percentuale, 95",
                 "LIMITE VELOCITA MASSIMA, 0, 90",
                 "STAZIONE, 0,  4,  600,  0, 0, 0,  1,1,0,  4,1,1,    1,  16,20, 0, CALVENA", "[fine]"}));
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(voce_n(s, 84).valore3, 4);
    EXPECT_EQ(voce_n(s, 84).valore1, 95);
    EXPECT_EQ(cella_n(s, 100).velocita, 18);
    EXPECT_EQ(voce_n(s, 1).testo, "CALVENA");
}

TEST(RunReader, EveryMatchingKeywordRunsInOrder) {
    stato_scenario s = prova::stato_percorso();
    leggi_corsa(s, file({"[generale]", "aderenza e velocita, 0, 80, 0, 90", "[fine]"}));
    EXPECT_EQ(cella_n(s, 10).velocita, 16);  // speed first: 0, 80
    EXPECT_EQ(cella_n(s, 10).aderenza, 90);  // then adhesion: 0, 90
}

struct caso_trattino {
    const char* nome;
    std::string testo;
    int16_t sabbia;
};

class Trattini : public ::testing::TestWithParam<caso_trattino> {};

TEST_P(Trattini, FieldsHoldingADashAreReplacedAtMostTwice) {
    stato_scenario s = prova::stato_percorso();
    EXPECT_TRUE(leggi_corsa(s, GetParam().testo));
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(voce_n(s, 86).intero1, GetParam().sabbia);
}

INSTANTIATE_TEST_SUITE_P(
    Casi, Trattini,
    ::testing::Values(
        caso_trattino{"OneDash", file({"[generale]", "-----", "sabbia, 300", "[fine]"}), 300},
        caso_trattino{"TwoDashes", file({"[generale]", "-", "a-b", "sabbia, 300", "[fine]"}), 300},
        // The third field is interpreted even with a dash; a fourth read would
        // have taken "300" for the keyword.
        caso_trattino{"ThirdIsInterpreted", file({"[generale]", "-", "-", "-sabbia", "300", "[fine]"}), 300},
        // A replaced field is not interpreted, and a replacement that is the
        // last field of the file is not either.
        caso_trattino{"ReplacementAtTheEnd", "[generale]\r\nsabbia-\r\nsabbia", 0}),
    prova::nome_caso{});

TEST(RunReader, OnlyAKeywordThatIsTheLastFieldGoesUninterpreted) {
    stato_scenario s = prova::stato_percorso();
    EXPECT_TRUE(leggi_corsa(s, "[generale]\r\nsabbia, 300\r\nnumero vetture"));
    EXPECT_EQ(voce_n(s, 86).intero1, 300);

    stato_scenario t = prova::stato_percorso();
    EXPECT_TRUE(leggi_corsa(t, "[generale]\r\nsabbia, 300"));
    EXPECT_EQ(voce_n(t, 86).intero1, 300);

    stato_scenario u = prova::stato_percorso();
    EXPECT_TRUE(leggi_corsa(u, "[generale]"));
    EXPECT_EQ(u.codice_errore, 0);
}

// Speed cells from..to inclusive all hold `valore`.
void verifica_velocita(stato_scenario& s, int32_t da, int32_t a, uint8_t valore) {
    for (int32_t i = da; i <= a; ++i)
        ASSERT_EQ(cella_n(s, i).velocita, valore) << "cell " << i;
}

TEST(RunReader, SpeedProfile) {
    stato_scenario s = prova::stato_percorso();
    leggi_corsa(s, file({"[generale]", "velocita, 0, 80", "velocita, 4000, 82", "velocita, 6000, 88",
                         "velocita, 10000, 75", "[fine]"}));
    verifica_velocita(s, 0, 79, 16);
    verifica_velocita(s, 80, 119, 16);   // 82 / 5 = 16.4
    verifica_velocita(s, 120, 199, 18);  // 88 / 5 = 17.6
    verifica_velocita(s, 200, 937, 15);
    verifica_velocita(s, 938, 940, 0);  // the last three cells get no limit
}

TEST(RunReader, AdhesionProfileKeepsTheLow8Bits) {
    stato_scenario s = prova::stato_percorso();
    leggi_corsa(s, file({"[generale]", "aderenza, 0, 100", "aderenza, 4000, 300", "[fine]"}));
    EXPECT_EQ(cella_n(s, 0).aderenza, 100);
    EXPECT_EQ(cella_n(s, 79).aderenza, 100);
    EXPECT_EQ(cella_n(s, 80).aderenza, 44);
    EXPECT_EQ(cella_n(s, 937).aderenza, 44);
    EXPECT_EQ(cella_n(s, 938).aderenza, 0);
}

TEST(RunReader, CellsBeforeTheFirstProfileLineTakeItsValue) {
    stato_scenario s = prova::stato_percorso();
    leggi_corsa(
        s, file({"[generale]", "velocita, 4000, 80", "velocita, 8000, 100", "aderenza, 1000, 70", "[fine]"}));
    verifica_velocita(s, 0, 159, 16);
    verifica_velocita(s, 160, 937, 20);
    EXPECT_EQ(cella_n(s, 0).aderenza, 70);
    EXPECT_EQ(cella_n(s, 937).aderenza, 70);

    stato_scenario t = prova::stato_percorso();
    leggi_corsa(t, file({"[generale]", "[fine]"}));
    verifica_velocita(t, 0, 940, 0);
}

TEST(RunReader, SpeedOutside0To255AfterDividingIsAReadFailure) {
    for (const char* riga : {"velocita, 0, 1280", "velocita, 0, -3"}) {
        stato_scenario s = prova::stato_percorso();
        EXPECT_THROW(leggi_corsa(s, file({"[generale]", riga, "[fine]"})), errore_lettura) << riga;
    }
    stato_scenario s = prova::stato_percorso();
    leggi_corsa(s, file({"[generale]", "velocita, 0, 1277", "[fine]"}));
    EXPECT_EQ(cella_n(s, 0).velocita, 255);
}

TEST(RunReader, ProfileBoundAndTheFillAtLeastOnce) {
    // (46900 + 100) / 50 = 940: accepted; the end fill still writes cell 938 once.
    stato_scenario s = prova::stato_percorso();
    leggi_corsa(s, file({"[generale]", "velocita, 0, 80", "velocita, 46900, 60", "[fine]"}));
    EXPECT_EQ(s.codice_errore, 0);
    verifica_velocita(s, 0, 937, 16);
    EXPECT_EQ(cella_n(s, 938).velocita, 12);
    EXPECT_EQ(cella_n(s, 939).velocita, 0);

    // 50 m further: error 15, the reading stops and the end steps still run.
    stato_scenario t = prova::stato_percorso();
    EXPECT_TRUE(leggi_corsa(
        t, file({"[generale]", "velocita, 0, 80", "aderenza, 46950, 60", "sabbia, 300", "[fine]"})));
    EXPECT_EQ(t.codice_errore, 15);
    EXPECT_EQ(t.posizione_errore, 46950);
    EXPECT_EQ(voce_n(t, 86).intero1, 0);
    verifica_velocita(t, 0, 937, 16);
}

TEST(RunReader, SignalBoundAndError15StillRunsTheEndSteps) {
    stato_scenario s = prova::stato_percorso();
    leggi_corsa(s, file({"[generale]", "segnale, 46900, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", "[fine]"}));
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(cella_n(s, 939).tipo, tipo_cella::segnale);

    for (const char* riga :
         {"segnale, 46950, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", "segnale, -100, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0",
          "rallentamento, 46950, 30, 0, 0, 0, 0", "rallentamento, 46000, 30, 1000, 0, 0, 0",
          "abbattimento, 46950, 1", "abbattimento, -100, 1"}) {
        stato_scenario t = prova::stato_percorso();
        voce_n(t, 83).valore2 = 33575;
        compile_log log;
        EXPECT_TRUE(leggi_corsa(t, file({"[generale]", "velocita, 0, 80", riga, "sabbia, 300", "[fine]"}),
                                prima_voce_cartelli, &log));
        // Error 15 leaves the loop; the end steps run, and their check replaces it with 2.
        EXPECT_EQ(t.codice_errore, 2) << riga;
        ASSERT_GE(log.errors.size(), 2u);
        EXPECT_EQ(log.errors[log.errors.size() - 2].code, error_code::beyond_route_end) << riga;
        EXPECT_EQ(log.errors[log.errors.size() - 2].place.line, 3) << riga;
        EXPECT_EQ(voce_n(t, 86).intero1, 0) << riga;
        EXPECT_EQ(cella_n(t, 900).velocita, 16) << riga;
        for (const cella& c : t.celle)
            ASSERT_EQ(c.tipo, 0) << riga;
    }
}

struct caso_errore_corsa {
    const char* nome;
    std::vector<std::string> righe;  // after "[generale]" and a speed line
    int32_t errore;
    int32_t posizione;
};

class ErroriCorsa : public ::testing::TestWithParam<caso_errore_corsa> {};

// Every error but 15 deletes the source and returns at once: no speed fill.
TEST_P(ErroriCorsa, StopAtOnceWithThePositionOfTheLine) {
    const caso_errore_corsa& k = GetParam();
    std::string testo = "[generale]\r\nvelocita, 0, 80\r\n";
    for (const std::string& r : k.righe)
        testo += r + "\r\n";
    testo += "sabbia, 300\r\n[fine]\r\n";
    stato_scenario s = prova::stato_percorso();
    s.posizione_errore = 4242;
    voce_n(s, 81).valore1 = 25;  // the end check would say 2
    compile_log log;
    EXPECT_TRUE(leggi_corsa(s, testo, prima_voce_cartelli, &log));
    EXPECT_EQ(s.codice_errore, k.errore);
    EXPECT_EQ(s.posizione_errore, k.posizione);
    EXPECT_EQ(voce_n(s, 86).intero1, 0);
    EXPECT_EQ(cella_n(s, 0).velocita, 0);
    ASSERT_FALSE(log.errors.empty());
    EXPECT_TRUE(log.errors.back().place.known);
    EXPECT_EQ(log.errors.back().place.source, sorgente_testo::corsa);
    EXPECT_EQ(log.errors.back().place.line, 2 + static_cast<int32_t>(k.righe.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Casi, ErroriCorsa,
    ::testing::Values(
        caso_errore_corsa{"Signal16",
                          {"segnale, 3650, 1,4,1,0,0,0,0,0,0,0", "segnale, 3650, 2,4,1,0,0,0,0,0,0,0"},
                          16,
                          3650},
        caso_errore_corsa{"Slowdown17",
                          {"segnale, 17450, 1,4,1,0,0,0,0,0,0,0", "rallentamento, 18650, 30, 300, 0, 1, 0"},
                          17,
                          18650},
        caso_errore_corsa{"Slowdown18",
                          {"segnale, 18650, 1,4,1,0,0,0,0,0,0,0", "rallentamento, 18650, 30, 300, 0, 1, 0"},
                          18,
                          18650},
        caso_errore_corsa{"Slowdown19",
                          {"segnale, 18950, 1,4,1,0,0,0,0,0,0,0", "rallentamento, 18650, 30, 300, 0, 1, 0"},
                          19,
                          18650},
        caso_errore_corsa{"Slowdown20",
                          {"segnale, 17350, 1,4,1,0,0,0,0,0,0,0", "rallentamento, 18650, 30, 300, 0, 1, 0"},
                          20,
                          18650},
        caso_errore_corsa{
            "Abbattimento7", {"segnale, 950, 1,4,1,0,0,0,0,0,0,0", "abbattimento, 1000, 5"}, 7, 1000},
        caso_errore_corsa{"Station8", {"stazione, 75, 22, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X"}, 8, 75},
        caso_errore_corsa{"Station9", {"stazione, 5000, 22, 250, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X"}, 9, 5000},
        caso_errore_corsa{"Station24", {"stazione, 0, 22, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X"}, 24, 4242},
        caso_errore_corsa{"Station22",
                          {"stazione, 0, 4, 600, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X",
                           "stazione, 700, 22, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, Y"},
                          22,
                          700}),
    prova::nome_caso{});

TEST(RunReader, StationsFillSlotsInOrderAndError10ComesFromTheBoardSlot) {
    const std::string testo = file({"[generale]", "stazione, 0, 4, 600, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A",
                                    "stazione, 5000, 22, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B",
                                    "stazione, 10000, 22, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, C", "[fine]"});
    stato_scenario s = prova::stato_percorso();
    EXPECT_TRUE(leggi_corsa(s, testo));
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(voce_n(s, 1).testo, "A");
    EXPECT_EQ(voce_n(s, 2).testo, "B");
    EXPECT_EQ(voce_n(s, 3).testo, "C");
    EXPECT_EQ(cella_n(s, 101).dato1, 2);

    stato_scenario t = prova::stato_percorso();
    EXPECT_TRUE(leggi_corsa(t, testo, 3));
    EXPECT_EQ(t.codice_errore, 10);
    EXPECT_EQ(voce_n(t, 2).testo, "B");
    EXPECT_EQ(voce_n(t, 3).testo, "");
}

TEST(RunReader, StationTooCloseToTheEndIsError15AndTheEndStepsRun) {
    stato_scenario s = prova::stato_percorso();
    EXPECT_TRUE(leggi_corsa(
        s, file({"[generale]", "velocita, 0, 80",
                 "stazione, 46250, 22, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", "sabbia, 300", "[fine]"})));
    EXPECT_EQ(s.codice_errore, 15);
    EXPECT_EQ(s.posizione_errore, 46250);
    EXPECT_EQ(voce_n(s, 86).intero1, 0);
    EXPECT_EQ(cella_n(s, 0).velocita, 16);
}

struct caso_abbattimento {
    int32_t p;
    int32_t n;
    uint8_t tipo_prima;
    int32_t cella;
    uint8_t tipo;
    int16_t dato1;
};

TEST(RunReader, AbbattimentoPointsUseTheCellOfTheirPosition) {
    const caso_abbattimento casi[] = {
        {1000, 180, 0, 20, tipo_cella::segno, 180},
        {1000, 0, 0, 20, tipo_cella::abbattimento_senza_valore, 0},
        {1000, -5, 0, 20, tipo_cella::abbattimento_senza_valore, 0},
        {1000, 70000, 0, 20, tipo_cella::segno, 4464},
        {1000, 7, tipo_cella::lampada_galleria, 20, tipo_cella::segno, 7},
        {1025, 7, 0, 20, tipo_cella::segno, 7},  // 20.5 rounds to even
        {1075, 7, 0, 22, tipo_cella::segno, 7},  // 21.5 rounds to even
        {-25, 7, 0, 0, tipo_cella::segno, 7},
    };
    for (const caso_abbattimento& k : casi) {
        stato_scenario s = prova::stato_percorso();
        cella_n(s, k.cella).tipo = k.tipo_prima;
        leggi_corsa(s, file({"[generale]",
                             "abbattimento, " + std::to_string(k.p) + ", " + std::to_string(k.n), "[fine]"}));
        EXPECT_EQ(s.codice_errore, 0) << k.p << " " << k.n;
        EXPECT_EQ(cella_n(s, k.cella).tipo, k.tipo) << k.p << " " << k.n;
        EXPECT_EQ(cella_n(s, k.cella).dato1, k.dato1) << k.p << " " << k.n;
    }
    // A signal at 1000 stands in cell 21, so both fit.
    stato_scenario s = prova::stato_percorso();
    leggi_corsa(
        s, file({"[generale]", "segnale, 1000, 1,4,1,0,0,0,0,0,0,0", "abbattimento, 1000, 5", "[fine]"}));
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(cella_n(s, 20).tipo, tipo_cella::segno);
    EXPECT_EQ(cella_n(s, 21).tipo, tipo_cella::segnale);
}

TEST(RunReader, Error15FromTheLinePhaseStopsAtTheFirstSignalOrSlowdown) {
    const std::string testo =
        file({"[generale]", "velocita, 0, 80", stazione_calvena, "segnale, 3650, 1, 4, 1, 0, 0, 0, 0,0,0, 0",
              "segnale, 4650, 2, 4, 1, 0, 0, 0, 0,0,0, 0", "[fine]"});
    stato_scenario s = prova::stato_percorso();
    registra_errore(s, {}, error_code::beyond_route_end, 12345);
    EXPECT_TRUE(leggi_corsa(s, testo));
    EXPECT_EQ(s.codice_errore, 15);
    EXPECT_EQ(s.posizione_errore, 3650);
    EXPECT_EQ(voce_n(s, 1).testo, "CALVENA");
    EXPECT_EQ(cella_n(s, 74).tipo, tipo_cella::segnale);  // the call is made before the test
    EXPECT_EQ(cella_n(s, 94).tipo, 0);
    EXPECT_EQ(cella_n(s, 0).velocita, 0);  // no end steps

    stato_scenario t = prova::stato_percorso();
    registra_errore(t, {}, error_code::beyond_route_end, 12345);
    EXPECT_TRUE(leggi_corsa(t, file({"[generale]", "velocita, 0, 80", stazione_calvena, "[fine]"})));
    EXPECT_EQ(t.codice_errore, 15);
    EXPECT_EQ(t.posizione_errore, 12345);
    EXPECT_EQ(voce_n(t, 1).testo, "CALVENA");
    EXPECT_EQ(cella_n(t, 0).velocita, 16);
}

TEST(RunReader, ProgressivesMustLieOn50mSteps) {
    struct caso {
        int slot;
        int32_t valore1, valore2, valore3;
        int32_t errore;
    };
    const caso casi[] = {
        {81, 0, 33550, 1, 0}, {82, -100, 33650, 0, 0}, {83, 0, 33575, 0, 2},
        {81, 10, 0, 0, 2},    {82, 0, 0, 7, 0},
    };
    for (const caso& k : casi) {
        stato_scenario s = prova::stato_percorso();
        s.posizione_errore = 4242;
        voce_n(s, k.slot).valore1 = k.valore1;
        voce_n(s, k.slot).valore2 = k.valore2;
        voce_n(s, k.slot).valore3 = k.valore3;
        leggi_corsa(s, file({"[generale]", "[fine]"}));
        EXPECT_EQ(s.codice_errore, k.errore) << k.slot << " " << k.valore1 << " " << k.valore2;
        EXPECT_EQ(s.posizione_errore, 4242);
    }
}

TEST(RunReader, WithoutRouteCellsPositionedLinesAndTheEndFillsAreReadFailures) {
    for (const char* riga : {"velocita, 0, 80", "segnale, 3650, 1, 4, 1, 0, 0, 0, 0,0,0, 0",
                             stazione_calvena.c_str(), "sabbia, 300"}) {
        stato_scenario s;
        EXPECT_THROW(leggi_corsa(s, file({"[generale]", riga, "[fine]"})), errore_lettura) << riga;
    }
}

}  // namespace
}  // namespace scenario
