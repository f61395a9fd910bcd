#include "compiler/signals.h"

#include "tests/compiler/run_test_state.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

using prova::cella_n;

struct caso_segnale {
    const char* nome;
    segnale g;
    int32_t cella;
    int16_t dato1, dato2, dato3, dato4;
    uint8_t dato5;
    uint8_t marcatori[4];  // in the cells 2, 4, 6 and 8 before the signal
};

class MemoSegnale : public ::testing::TestWithParam<caso_segnale> {};

TEST_P(MemoSegnale, CodesTheCellAndItsMarkers) {
    const caso_segnale& k = GetParam();
    stato_scenario s = prova::stato_percorso();
    segnale g = k.g;
    memo_segnale(s, g);
    ASSERT_EQ(s.codice_errore, 0);
    const cella& c = cella_n(s, k.cella);
    EXPECT_EQ(c.tipo, tipo_cella::segnale);
    EXPECT_EQ(c.dato1, k.dato1);
    EXPECT_EQ(c.dato2, k.dato2);
    EXPECT_EQ(c.dato3, k.dato3);
    EXPECT_EQ(c.dato4, k.dato4);
    EXPECT_EQ(c.dato5, k.dato5);
    for (int32_t n = 0; n < 4; ++n) {
        EXPECT_EQ(cella_n(s, k.cella - 2 * (n + 1)).dato6, k.marcatori[n]) << "marker " << n + 1;
        EXPECT_EQ(cella_n(s, k.cella - 2 * (n + 1)).tipo, 0);
    }
    EXPECT_EQ(cella_n(s, k.cella - 1).dato6, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Casi, MemoSegnale,
    ::testing::Values(
        caso_segnale{"ExitSignalWithTime",
                     {10750, 2, 4, 1, 0, 0, 0, 0, 0, 0, 245},
                     216,
                     40,
                     10,
                     0,
                     6,
                     245,
                     {61, 62, 63, 64}},
        caso_segnale{
            "HomeSignal", {3650, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0}, 74, 40, 10, 0, 3, 0, {31, 32, 33, 34}},
        caso_segnale{"EveryValuePacked",
                     {5000, 1, 2, 3, 4, 7, 2, 5, 6, 8, 0},
                     101,
                     25,
                     36,
                     48,
                     75,
                     0,
                     {51, 52, 53, 54}},
        // rapp 4000: 40003 wraps in 16 bits; sx 9: (27 + 0) * 10 + k wraps in 8 bits.
        caso_segnale{"SixteenBitWrap",
                     {5000, 1, 3300, 0, 0, 4000, 0, 7, 0, 0, 0},
                     101,
                     -32529,
                     0,
                     0,
                     -25533,
                     0,
                     {31, 32, 33, 34}},
        caso_segnale{"EightBitMarkerWrap",
                     {5000, 9, 1, 1, 0, 0, 0, 0, 0, 0, 0},
                     101,
                     10,
                     10,
                     0,
                     27,
                     0,
                     {15, 16, 17, 18}},
        // A position between two cell starts rounds half to even: 5025 / 50 + 1 = 101.5.
        caso_segnale{"HalfCellRoundsToEven",
                     {5025, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0},
                     102,
                     10,
                     10,
                     0,
                     3,
                     0,
                     {31, 32, 33, 34}}),
    prova::nome_caso{});

struct caso_tempo {
    int32_t sx;
    int32_t tempo;
    int32_t tempo_dopo;  // the caller's variable afterwards
    uint8_t dato5;
};

TEST(MemoSegnale, TimeRaisedFrom1To100AndStoredOnlyForSx2) {
    const caso_tempo casi[] = {
        {2, 50, 101, 101}, {2, 1, 101, 101}, {2, 100, 101, 101}, {2, 101, 101, 101}, {2, 0, 0, 0},
        {1, 245, 245, 0},  {1, 50, 101, 0},  {2, 300, 300, 44},  {2, -5, -5, 251},
    };
    for (const caso_tempo& k : casi) {
        stato_scenario s = prova::stato_percorso();
        segnale g{10750, k.sx, 4, 1, 0, 0, 0, 0, 0, 0, k.tempo};
        memo_segnale(s, g);
        EXPECT_EQ(g.tempo, k.tempo_dopo) << "sx " << k.sx << " tempo " << k.tempo;
        EXPECT_EQ(cella_n(s, 216).dato5, k.dato5) << "sx " << k.sx << " tempo " << k.tempo;
    }
}

TEST(MemoSegnale, TunnelLampMarkIsFreeAnythingElseGivesError16) {
    stato_scenario s = prova::stato_percorso();
    cella_n(s, 216).tipo = tipo_cella::lampada_galleria;
    segnale g{10750, 2, 4, 1, 0, 0, 0, 0, 0, 0, 245};
    memo_segnale(s, g);
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(cella_n(s, 216).tipo, tipo_cella::segnale);

    for (uint8_t tipo : {tipo_cella::segnale, tipo_cella::inizio_rallentamento, tipo_cella::fermata,
                         tipo_cella::cartello_galleria, tipo_cella::abbattimento_senza_valore}) {
        stato_scenario t = prova::stato_percorso();
        cella_n(t, 216).tipo = tipo;
        segnale h{10750, 2, 4, 1, 0, 0, 0, 0, 0, 0, 50};
        memo_segnale(t, h);
        EXPECT_EQ(t.codice_errore, 16);
        EXPECT_EQ(t.posizione_errore, 10750);
        EXPECT_EQ(cella_n(t, 216).tipo, tipo);
        EXPECT_EQ(cella_n(t, 216).dato4, 0);
        for (int32_t j = 208; j <= 214; ++j)
            EXPECT_EQ(cella_n(t, j).dato6, 0) << j;
    }
}

TEST(MemoSegnale, MarkersOverwriteEarlierMarkersWithoutTouchingTheCellKind) {
    stato_scenario s = prova::stato_percorso();
    cella_n(s, 214).dato6 = 81;
    cella_n(s, 212).tipo = tipo_cella::fermata;
    cella_n(s, 212).dato6 = 82;
    segnale g{10750, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0};
    memo_segnale(s, g);
    EXPECT_EQ(cella_n(s, 214).dato6, 61);
    EXPECT_EQ(cella_n(s, 212).dato6, 62);
    EXPECT_EQ(cella_n(s, 212).tipo, tipo_cella::fermata);
}

TEST(MemoSegnale, NearTheStartMarkersBeforeCellZeroAreLeftOut) {
    stato_scenario s = prova::stato_percorso();
    segnale g{300, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0};  // cell 7: markers in 5, 3, 1, (-1)
    memo_segnale(s, g);
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(cella_n(s, 7).tipo, tipo_cella::segnale);
    EXPECT_EQ(cella_n(s, 5).dato6, 31);
    EXPECT_EQ(cella_n(s, 3).dato6, 32);
    EXPECT_EQ(cella_n(s, 1).dato6, 33);

    stato_scenario t = prova::stato_percorso();
    segnale h{-50, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0};  // cell 0, no room for any marker
    memo_segnale(t, h);
    EXPECT_EQ(t.codice_errore, 0);
    EXPECT_EQ(cella_n(t, 0).tipo, tipo_cella::segnale);
}

TEST(MemoSegnale, ACellOutsideTheRouteIsError15AndWritesNothing) {
    for (int32_t posizione : {-100, 47000, 1000000}) {
        stato_scenario s = prova::stato_percorso();
        EXPECT_FALSE(segnale_nel_percorso(s, posizione)) << posizione;
        segnale g{posizione, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0};
        memo_segnale(s, g);
        EXPECT_EQ(s.codice_errore, 15);
        EXPECT_EQ(s.posizione_errore, posizione);
        for (const cella& c : s.celle)
            ASSERT_EQ(c.tipo, 0);
    }
    stato_scenario s = prova::stato_percorso();
    EXPECT_TRUE(segnale_nel_percorso(s, -75));    // -0.5 rounds to cell 0
    EXPECT_TRUE(segnale_nel_percorso(s, 46950));  // the last cell, 940
}

}  // namespace
}  // namespace scenario
