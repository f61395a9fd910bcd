// What the line description places in the cells: tunnels, maximum-speed
// boards and tunnel-name boards.
#include "compiler/errors.h"
#include "tests/compiler/line_test_support.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scenario {
namespace {

using prova::descrizione;
using prova::lettura_linea;

struct cella_attesa {
    int32_t indice;
    int galleria;
    int tipo;
};

TEST(LineTunnels, ClassesLampMarksAndThe150mRule) {
    struct caso {
        const char* nome;
        std::vector<std::string> righe;
        std::vector<cella_attesa> celle;
    } casi[] = {
        {"short tunnel", {"montagna, 1000, 1200, 2"}, {{19, 0, 0}, {20, 2, 0}, {23, 2, 0}, {24, 0, 0}}},
        {"long tunnel: every 4th cell marked",
         {"montagna, 1000, 1500, 11"},
         {{20, 1, 0}, {22, 1, 0}, {23, 1, 11}, {24, 1, 0}, {27, 1, 11}, {29, 1, 0}, {30, 0, 0}}},
        {"mark only where nothing stands",
         {"indicatori_vmax, 1100, 1, 1, 1, 0, 0, 0, 0, 0", "montagna, 1000, 1500, 11"},
         {{23, 1, 6}, {27, 1, 11}}},
        {"100 m gap: class 3, still long",
         {"montagna, 5800, 6350, 12", "montagna, 6450, 6650, 11"},
         {{116, 2, 0}, {119, 2, 11}, {126, 2, 0}, {127, 0, 0}, {129, 3, 0}, {132, 3, 11}}},
        {"150 m gap: class 3",
         {"montagna, 1000, 1200, 1", "montagna, 1350, 1500, 2"},
         {{27, 3, 0}, {29, 3, 0}}},
        {"200 m gap: own class",
         {"montagna, 1000, 1200, 1", "montagna, 1400, 1500, 2"},
         {{28, 2, 0}, {29, 2, 0}}},
        {"a tunnel without cells still counts",
         {"montagna, 1000, 1000, 2", "montagna, 1100, 1500, 1"},
         {{19, 0, 0}, {20, 0, 0}, {22, 3, 0}, {29, 3, 0}}},
    };
    for (const caso& c : casi) {
        std::string corpo;
        for (const std::string& r : c.righe)
            corpo += r + "\r\n";
        lettura_linea l(descrizione(corpo));
        EXPECT_EQ(l.s.codice_errore, 0) << c.nome;
        for (const cella_attesa& a : c.celle) {
            const cella& x = l.s.celle[std::size_t(a.indice)];
            EXPECT_EQ(x.galleria, a.galleria) << c.nome << ", cell " << a.indice;
            EXPECT_EQ(x.tipo, a.tipo) << c.nome << ", cell " << a.indice;
        }
    }
}

TEST(LineTunnels, RecordsStartAndEndOfEachTunnel) {
    lettura_linea l(descrizione("montagna, 5800, 6350, 12\r\nmontagna, 6450, 6650, 11\r\n"));
    EXPECT_EQ(l.s.n_montagne, 2);
    EXPECT_EQ(l.s.montagna_inizio[1], 5800);
    EXPECT_EQ(l.s.montagna_fine[1], 6350);
    EXPECT_EQ(l.s.montagna_inizio[2], 6450);
    EXPECT_EQ(l.s.montagna_fine[2], 6650);
}

TEST(LineBoards, MaximumSpeedBoardPacksItsValues) {
    struct caso {
        const char* riga;
        int32_t cella;
        int16_t dato1, dato2, dato3, dato4;
    } casi[] = {
        {"indicatori_vmax,  400,  75,  80,  80,  0,  ,  ,  ,  0", 9, 1500, 1600, 1600, 0},
        {"indicatori_vmax, 400, 75, 80, 80, 1, 60, 62, 63, 2", 9, 1512, 1612, 1613, 12},
        {"indicatori_vmax, 75, 1638, -1638, 0, 0, 35, -40, 0, 0", 2, 32767, -32768, 0, 0},
        // The stripe value wraps in 16 bits.
        {"indicatori_vmax, 400, 0, 0, 0, 3277, 0, 0, 0, 0", 9, 0, 0, 0, -32766},
        {"indicatori_vmax, 400, 0, 0, 0, 65537, 0, 0, 0, 3", 9, 0, 0, 0, 13},
    };
    for (const caso& c : casi) {
        lettura_linea l(descrizione(std::string(c.riga) + "\r\n"));
        EXPECT_EQ(l.s.codice_errore, 0) << c.riga;
        const cella& x = l.s.celle[std::size_t(c.cella)];
        EXPECT_EQ(x.tipo, 6) << c.riga;
        EXPECT_EQ(x.dato1, c.dato1) << c.riga;
        EXPECT_EQ(x.dato2, c.dato2) << c.riga;
        EXPECT_EQ(x.dato3, c.dato3) << c.riga;
        EXPECT_EQ(x.dato4, c.dato4) << c.riga;
    }
}

TEST(LineBoards, TunnelNameBoardsTakeSlotsDownwardFrom80) {
    lettura_linea l(descrizione(prova::righe({"cartello_indicatore,  5750,   (VAIONI)(535 m.)",
                                              "cartello_indicatore,  6400,   (PONZANO)(211 m. )"})));
    EXPECT_EQ(l.s.codice_errore, 0);
    EXPECT_EQ(l.s.celle[116].tipo, 14);
    EXPECT_EQ(l.s.celle[116].dato1, 80);
    EXPECT_EQ(l.s.voci[80].testo, "(VAIONI)(535 m.)");
    EXPECT_EQ(l.s.celle[129].dato1, 79);
    EXPECT_EQ(l.s.voci[79].testo, "(PONZANO)(211 m. )");
    EXPECT_EQ(l.esito.slot_cartelli, 78);
}

TEST(LineBoards, BoardsOnTakenCellsAreErrors6And21) {
    struct caso {
        const char* prima;
        const char* seconda;
        int32_t errore;
    } casi[] = {
        {"indicatori_vmax, 400, 1, 1, 1, 0, 0, 0, 0, 0", "indicatori_vmax, 410, 2, 2, 2, 0, 0, 0, 0, 0", 21},
        {"cartello_indicatore, 400, (A)", "indicatori_vmax, 410, 2, 2, 2, 0, 0, 0, 0, 0", 21},
        {"cartello_indicatore, 400, (A)", "cartello_indicatore, 410, (B)", 6},
        {"indicatori_vmax, 400, 1, 1, 1, 0, 0, 0, 0, 0", "cartello_indicatore, 410, (B)", 6},
    };
    for (const caso& c : casi) {
        lettura_linea l(descrizione(prova::righe({c.prima, c.seconda, "pendenza, 0, 5"})));
        EXPECT_EQ(l.s.codice_errore, c.errore) << c.seconda;
        EXPECT_EQ(l.s.posizione_errore, 410) << c.seconda;
        EXPECT_FALSE(l.esito.prosegui);
        EXPECT_TRUE(l.linea_eliminata());
        EXPECT_FALSE(l.corsa_eliminata());
        // Nothing of the second board is written, and reading ended there.
        EXPECT_NE(l.s.celle[9].dato1, 40);
        EXPECT_EQ(l.s.voci[79].testo, "");
        EXPECT_EQ(l.s.celle[0].pendenza, 0);
    }
}

TEST(LineBoards, ALampMarkCountsAsFree) {
    lettura_linea l(
        descrizione(prova::righe({"montagna, 1000, 1500, 11", "indicatori_vmax, 1100, 1, 1, 1, 0, 0, 0, 0, 0",
                                  "cartello_indicatore, 1300, (X)"})));
    EXPECT_EQ(l.s.codice_errore, 0);
    EXPECT_EQ(l.s.celle[23].tipo, 6);
    EXPECT_EQ(l.s.celle[27].tipo, 14);
}

}  // namespace
}  // namespace scenario
