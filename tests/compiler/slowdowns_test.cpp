#include "compiler/slowdowns.h"

#include "tests/compiler/run_test_state.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

using prova::cella_n;

struct attesa_cella {
    int32_t indice;
    uint8_t tipo;
    int16_t dato1, dato2, dato3;
};

void verifica(stato_scenario& s, std::initializer_list<attesa_cella> attese) {
    for (const attesa_cella& a : attese) {
        const cella& c = cella_n(s, a.indice);
        EXPECT_EQ(c.tipo, a.tipo) << "cell " << a.indice;
        EXPECT_EQ(c.dato1, a.dato1) << "cell " << a.indice;
        EXPECT_EQ(c.dato2, a.dato2) << "cell " << a.indice;
        EXPECT_EQ(c.dato3, a.dato3) << "cell " << a.indice;
    }
}

int conta_occupate(const stato_scenario& s) {
    int n = 0;
    for (const cella& c : s.celle)
        n += c.tipo != 0;
    return n;
}

TEST(MemoRallentamento, WithApproachCells) {
    stato_scenario s = prova::stato_percorso();
    memo_rallentamento(s, {18650, 30, 300, 0, 1, 0});
    EXPECT_EQ(s.codice_errore, 0);
    verifica(s, {{346, 5, 4, 0, 0},
                 {347, 5, 3, 0, 0},
                 {348, 5, 2, 0, 0},
                 {349, 5, 1, 0, 0},
                 {350, 4, 30, 0, 0},
                 {374, 3, 30, 0, 0},
                 {380, 2, 30, 0, 0},
                 {345, 0, 0, 0, 0}});
    EXPECT_EQ(conta_occupate(s), 7);
}

TEST(MemoRallentamento, WithoutApproachCells) {
    stato_scenario s = prova::stato_percorso();
    memo_rallentamento(s, {34000, 30, 1000, 0, 0, 0});
    EXPECT_EQ(s.codice_errore, 0);
    verifica(s, {{657, 4, 30, 0, 0}, {681, 3, 30, 0, 0}, {701, 2, 30, 0, 0}});
    EXPECT_EQ(conta_occupate(s), 3);
}

TEST(MemoRallentamento, AdvanceCellOnlyBeyond1500) {
    stato_scenario s = prova::stato_percorso();
    memo_rallentamento(s, {1500, 40, 200, 2, 1, 0});
    EXPECT_EQ(s.codice_errore, 0);
    verifica(s, {{31, 3, 40, 0, 2}, {35, 2, 40, 0, 2}});
    EXPECT_EQ(conta_occupate(s), 2);

    stato_scenario t = prova::stato_percorso();
    memo_rallentamento(t, {1550, 40, 200, 2, 1, 0});
    EXPECT_EQ(t.codice_errore, 0);
    verifica(t, {{4, 5, 4, 0, 0},
                 {5, 5, 3, 0, 0},
                 {6, 5, 2, 0, 0},
                 {7, 5, 1, 0, 0},
                 {8, 4, 40, 0, 0},
                 {32, 3, 40, 0, 2},
                 {36, 2, 40, 0, 2}});
    EXPECT_EQ(conta_occupate(t), 7);
}

TEST(MemoRallentamento, DvGoesToStartEndAndAdvanceApproachCellsKeepTheirCounters) {
    stato_scenario s = prova::stato_percorso();
    memo_rallentamento(s, {18650, 30, 300, 9, 1, 7});
    verifica(s, {{346, 5, 4, 4, 0},
                 {347, 5, 3, 3, 0},
                 {348, 5, 2, 2, 0},
                 {349, 5, 1, 1, 0},
                 {350, 4, 30, 7, 0},
                 {374, 3, 30, 7, 9},
                 {380, 2, 30, 7, 9}});
}

TEST(MemoRallentamento, ValuesKeepTheirLow16Bits) {
    stato_scenario s = prova::stato_percorso();
    memo_rallentamento(s, {18650, 70000, 300, -70000, 0, 65537});
    // 70000 - 65536 = 4464; -70000 + 131072 = 61072 - 65536 = -4464; 65537 -> 1.
    verifica(s, {{350, 4, 4464, 1, 0}, {374, 3, 4464, 1, -4464}, {380, 2, 4464, 1, -4464}});
}

TEST(MemoRallentamento, ZeroLengthKeepsTheStartCell) {
    stato_scenario s = prova::stato_percorso();
    memo_rallentamento(s, {18650, 30, 0, 0, 0, 0});
    EXPECT_EQ(s.codice_errore, 0);
    verifica(s, {{374, 3, 30, 0, 0}});
}

struct caso_errore {
    const char* nome;
    int32_t cella_occupata;
    uint8_t tipo;
    int32_t errore;
    int occupate_dopo;  // cells taken afterwards, the blocking one included
};

class ErroriRallentamento : public ::testing::TestWithParam<caso_errore> {};

TEST_P(ErroriRallentamento, StopAtTheFirstTakenCell) {
    const caso_errore& k = GetParam();
    stato_scenario s = prova::stato_percorso();
    cella_n(s, k.cella_occupata).tipo = k.tipo;
    memo_rallentamento(s, {18650, 30, 300, 0, 1, 0});
    EXPECT_EQ(s.codice_errore, k.errore);
    EXPECT_EQ(s.posizione_errore, 18650);
    EXPECT_EQ(conta_occupate(s), k.occupate_dopo);
    EXPECT_EQ(cella_n(s, k.cella_occupata).tipo, k.tipo);
}

INSTANTIATE_TEST_SUITE_P(Casi, ErroriRallentamento,
                         ::testing::Values(caso_errore{"AdvanceCell", 350, tipo_cella::segnale, 17, 1},
                                           caso_errore{"StartCell", 374, tipo_cella::fermata, 18, 1},
                                           caso_errore{"EndCell", 380, tipo_cella::indicatore_vmax, 19, 1},
                                           // End, start and advance cells stay written.
                                           caso_errore{"ApproachCell", 347, tipo_cella::segnale, 20, 4},
                                           caso_errore{"FarthestApproachCell", 346,
                                                       tipo_cella::cartello_galleria, 20, 4}),
                         prova::nome_caso{});

TEST(MemoRallentamento, TunnelLampMarksAreFree) {
    stato_scenario s = prova::stato_percorso();
    for (int32_t i : {346, 350, 374, 380})
        cella_n(s, i).tipo = tipo_cella::lampada_galleria;
    memo_rallentamento(s, {18650, 30, 300, 0, 1, 0});
    EXPECT_EQ(s.codice_errore, 0);
    verifica(s, {{346, 5, 4, 0, 0}, {350, 4, 30, 0, 0}, {374, 3, 30, 0, 0}, {380, 2, 30, 0, 0}});
}

TEST(MemoRallentamento, StartOnTheEndOfAnEarlierSlowdownIsError18) {
    stato_scenario s = prova::stato_percorso();
    memo_rallentamento(s, {18650, 30, 300, 0, 0, 0});  // end cell 380
    memo_rallentamento(s, {18950, 50, 300, 0, 0, 0});  // start cell 380, advance cell 356 free
    EXPECT_EQ(s.codice_errore, 18);
    EXPECT_EQ(s.posizione_errore, 18950);
    EXPECT_EQ(cella_n(s, 356).tipo, 0);
    EXPECT_EQ(cella_n(s, 386).tipo, 0);
}

TEST(MemoRallentamento, CellsOutsideTheRouteAreError15AndWriteNothing) {
    const rallentamento casi[] = {
        {46000, 30, 1000, 0, 1, 0},  // end cell 941, one past the last
        {-100, 30, 300, 0, 0, 0},    // start cell -1
        {1000, 30, -2000, 0, 0, 0},  // end cell before cell 0
        {46000, 30, 2147483647, 0, 0, 0},
    };
    for (const rallentamento& r : casi) {
        stato_scenario s = prova::stato_percorso();
        EXPECT_FALSE(rallentamento_nel_percorso(s, r)) << r.x << " " << r.l;
        memo_rallentamento(s, r);
        EXPECT_EQ(s.codice_errore, 15);
        EXPECT_EQ(s.posizione_errore, r.x);
        EXPECT_EQ(conta_occupate(s), 0);
    }
    stato_scenario s = prova::stato_percorso();
    EXPECT_TRUE(rallentamento_nel_percorso(s, {46000, 30, 950, 0, 1, 0}));  // end cell 940
}

}  // namespace
}  // namespace scenario
