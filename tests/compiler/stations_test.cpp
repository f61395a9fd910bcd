#include "compiler/stations.h"

#include "tests/compiler/run_test_state.h"

#include <gtest/gtest.h>
#include <string>

namespace scenario {
namespace {

using prova::cella_n;
using prova::voce_n;

// The 17 fields after the keyword, as on a station line.
esito_stazione stazione(stato_scenario& s, int32_t& contatore, const std::string& campi,
                        int32_t slot_cartelli = prima_voce_cartelli) {
    lettore_campi lettore(campi);
    return memo_stazione(s, lettore, contatore, slot_cartelli);
}

std::string riga(int32_t p, int k, int32_t l, int campo6 = 0, int campo5 = 0) {
    return std::to_string(p) + ", " + std::to_string(k) + ", " + std::to_string(l) + ", 0, " +
           std::to_string(campo5) + ", " + std::to_string(campo6) +
           ", 0,0,0, 4,1,1, 60, 16,37, 0, STAZIONE " + std::to_string(p) + "\r\n";
}

TEST(MemoStazione, FirstStationOfTheProgram) {
    stato_scenario s = prova::stato_percorso();
    int32_t i = 1;
    EXPECT_EQ(stazione(s, i, "      0,  4,  600,  0, 0, 0,  1,1,0,  4,1,1,    1,  16,20, 0, CALVENA\r\n"),
              esito_stazione::registrata);
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(i, 2);
    const voce& r = voce_n(s, 1);
    EXPECT_EQ(r.valore1, -300);
    EXPECT_EQ(r.valore2, 300);
    EXPECT_EQ(r.valore3, 0);
    EXPECT_EQ(r.valore4, 58800);
    EXPECT_EQ(r.tipo, 4);
    EXPECT_EQ(r.testo, "CALVENA");
    EXPECT_EQ(r.intero1, 1);
    EXPECT_EQ(r.intero2, 1);
    EXPECT_EQ(r.byte2, 0);
    EXPECT_EQ(r.intero3, 4);
    EXPECT_EQ(r.intero4, 1);
    EXPECT_EQ(r.intero5, 1);
    EXPECT_EQ(r.byte3, 1);
    EXPECT_EQ(cella_n(s, 4).dato6, 81);
    EXPECT_EQ(cella_n(s, 3).dato6, 82);
    EXPECT_EQ(cella_n(s, 2).dato6, 83);
    EXPECT_EQ(cella_n(s, 1).dato6, 0);  // the fourth marker would stand in cell 1
    EXPECT_EQ(cella_n(s, 5).tipo, tipo_cella::fermata);
    EXPECT_EQ(cella_n(s, 5).dato1, 1);
    EXPECT_EQ(cella_n(s, 5).dato6, 0);
}

struct caso_area {
    const char* nome;
    int32_t p;
    int k;
    int32_t l;
    int campo6;
    int32_t inizio, fine;
    uint8_t byte4;
    int32_t fermata;       // -1: none
    int32_t marcatori[4];  // cells of markers 81..84; -1: none
};

class AreaStazione : public ::testing::TestWithParam<caso_area> {};

// As a second station, after a first one at 0 (area end 300).
TEST_P(AreaStazione, AreaStopCellAndMarkersByKind) {
    const caso_area& k = GetParam();
    stato_scenario s = prova::stato_percorso();
    int32_t i = 1;
    ASSERT_EQ(stazione(s, i, riga(0, 4, 600)), esito_stazione::registrata);
    const stato_scenario prima = s;
    ASSERT_EQ(stazione(s, i, riga(k.p, k.k, k.l, k.campo6)), esito_stazione::registrata);
    EXPECT_EQ(s.codice_errore, 0);
    const voce& r = voce_n(s, 2);
    EXPECT_EQ(r.valore1, k.inizio);
    EXPECT_EQ(r.valore2, k.fine);
    EXPECT_EQ(r.valore3, k.p);
    EXPECT_EQ(r.byte4, k.byte4);

    int cambiate = 0;
    for (std::size_t c = 0; c < s.celle.size(); ++c)
        cambiate += s.celle[c].tipo != prima.celle[c].tipo || s.celle[c].dato6 != prima.celle[c].dato6;
    if (k.fermata >= 0) {
        EXPECT_EQ(cella_n(s, k.fermata).tipo, tipo_cella::fermata);
        EXPECT_EQ(cella_n(s, k.fermata).dato1, 2);
    }
    int marcatori = 0;
    for (int m = 0; m < 4; ++m) {
        if (k.marcatori[m] < 0)
            continue;
        ++marcatori;
        EXPECT_EQ(cella_n(s, k.marcatori[m]).dato6, 81 + m);
    }
    EXPECT_EQ(cambiate, (k.fermata >= 0 ? 1 : 0) + marcatori);
}

INSTANTIATE_TEST_SUITE_P(
    Casi, AreaStazione,
    ::testing::Values(caso_area{"Kind5", 10000, 5, 300, 1, 9700, 10150, 0, 202, {-1, -1, -1, -1}},
                      caso_area{"Kind7", 10000, 7, 300, 1, 9700, 10300, 0, 205, {204, 203, 202, 201}},
                      caso_area{"Kind22WithTail", 5250, 22, 300, 1, 5100, 5450, 1, 108, {107, 106, 105, 104}},
                      caso_area{"Kind22", 5250, 22, 300, 0, 5100, 5400, 0, 107, {106, 105, 104, 103}},
                      caso_area{"Kind27NoCells", 5250, 27, 300, 1, 5100, 5450, 1, -1, {-1, -1, -1, -1}},
                      caso_area{
                          "Kind24LastWithStop", 5250, 24, 300, 0, 5100, 5400, 0, 107, {106, 105, 104, 103}}),
    prova::nome_caso{});

TEST(MemoStazione, Byte5AndByte4Rules) {
    stato_scenario s = prova::stato_percorso();
    int32_t i = 1;
    // First station: both cleared, but the area end still has the 50 m of field 6.
    ASSERT_EQ(stazione(s, i, riga(0, 22, 600, 1, 9)), esito_stazione::registrata);
    EXPECT_EQ(voce_n(s, 1).byte4, 0);
    EXPECT_EQ(voce_n(s, 1).byte5, 0);
    EXPECT_EQ(voce_n(s, 1).valore2, 350);
    ASSERT_EQ(stazione(s, i, riga(5000, 22, 400, 0, 9)), esito_stazione::registrata);
    EXPECT_EQ(voce_n(s, 2).byte5, 0);
    ASSERT_EQ(stazione(s, i, riga(10000, 22, 600, 0, 9)), esito_stazione::registrata);
    EXPECT_EQ(voce_n(s, 3).byte5, 9);
}

TEST(MemoStazione, SpacingBetweenAreas) {
    // First area ends at 300; a second area starting 300 m later fails, 350 m later is accepted.
    stato_scenario s = prova::stato_percorso();
    int32_t i = 1;
    ASSERT_EQ(stazione(s, i, riga(0, 4, 600)), esito_stazione::registrata);
    EXPECT_EQ(stazione(s, i, riga(700, 22, 200)), esito_stazione::errore);
    EXPECT_EQ(s.codice_errore, 22);
    EXPECT_EQ(s.posizione_errore, 700);
    EXPECT_EQ(i, 2);
    EXPECT_EQ(cella_n(s, 15).tipo, tipo_cella::fermata);  // written before the spacing test

    stato_scenario t = prova::stato_percorso();
    int32_t j = 1;
    ASSERT_EQ(stazione(t, j, riga(0, 4, 600)), esito_stazione::registrata);
    EXPECT_EQ(stazione(t, j, riga(750, 22, 200)), esito_stazione::registrata);
    EXPECT_EQ(t.codice_errore, 0);
}

struct caso_errore {
    const char* nome;
    std::string campi;
    int32_t errore;
    int32_t posizione;  // expected posizione_errore (it starts at 4242)
    esito_stazione esito;
};

class ErroriStazione : public ::testing::TestWithParam<caso_errore> {};

TEST_P(ErroriStazione, RecordsTheErrorAndItsPosition) {
    const caso_errore& k = GetParam();
    stato_scenario s = prova::stato_percorso();
    s.posizione_errore = 4242;
    int32_t i = 1;
    EXPECT_EQ(stazione(s, i, k.campi), k.esito);
    EXPECT_EQ(s.codice_errore, k.errore);
    EXPECT_EQ(s.posizione_errore, k.posizione);
    EXPECT_EQ(i, k.esito == esito_stazione::registrata ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Casi, ErroriStazione,
    ::testing::Values(
        caso_errore{"NotOn50m", riga(75, 22, 200), 8, 75, esito_stazione::errore},
        caso_errore{"AreaNotOn100m", riga(5000, 22, 250), 9, 5000, esito_stazione::errore},
        caso_errore{"StopCellBeforeCell2", riga(0, 22, 100), 24, 4242, esito_stazione::errore},
        // (46250 + 800) / 50 = 941 > 940; 46200 is the last accepted position.
        caso_errore{"TooCloseToTheEnd", riga(46250, 22, 200), 15, 46250, esito_stazione::fuori_percorso},
        caso_errore{"LastAccepted", riga(46200, 22, 200), 0, 4242, esito_stazione::registrata},
        // Stop cell 959 beyond the last cell 940: nothing written.
        caso_errore{"StopCellBeyondTheRoute", riga(46000, 7, 2000), 15, 46000,
                    esito_stazione::fuori_percorso},
        caso_errore{"AreaBeyond32Bits", riga(-2000000000, 27, 2000000000), 15, -2000000000,
                    esito_stazione::fuori_percorso},
        // A negative multiple of 50 passes the position test.
        caso_errore{"NegativeKind27", riga(-100, 27, 200), 0, 4242, esito_stazione::registrata}),
    prova::nome_caso{});

TEST(MemoStazione, ErrorsLeaveWhatWasReadIntoTheSlot) {
    stato_scenario s = prova::stato_percorso();
    int32_t i = 1;
    stazione(s, i, riga(75, 22, 200));
    EXPECT_EQ(voce_n(s, 1).valore3, 75);
    EXPECT_EQ(voce_n(s, 1).tipo, 0);  // not read yet

    stato_scenario t = prova::stato_percorso();
    int32_t j = 1;
    stazione(t, j, riga(46000, 7, 2000));
    for (const cella& c : t.celle)
        ASSERT_TRUE(c.tipo == 0 && c.dato6 == 0);
}

TEST(MemoStazione, StopCellOverwritesWhateverStoodThere) {
    stato_scenario s = prova::stato_percorso();
    cella_n(s, 5).tipo = tipo_cella::segnale;
    cella_n(s, 5).dato1 = 40;
    int32_t i = 1;
    ASSERT_EQ(stazione(s, i, riga(0, 4, 600)), esito_stazione::registrata);
    EXPECT_EQ(cella_n(s, 5).tipo, tipo_cella::fermata);
    EXPECT_EQ(cella_n(s, 5).dato1, 1);
}

TEST(MemoStazione, With45BoardsThe34thStationIsError10) {
    stato_scenario s = prova::stato_percorso();
    const int32_t slot_cartelli = 80 - 45;
    int32_t i = 1;
    for (int32_t n = 1; n <= 33; ++n)
        ASSERT_EQ(stazione(s, i, riga(1000 * n, 22, 200), slot_cartelli), esito_stazione::registrata) << n;
    EXPECT_EQ(stazione(s, i, riga(34000, 22, 200), slot_cartelli), esito_stazione::errore);
    EXPECT_EQ(s.codice_errore, 10);
    EXPECT_EQ(i, 35);
    EXPECT_EQ(voce_n(s, 33).valore3, 33000);
    EXPECT_EQ(voce_n(s, 35).valore3, 0);
}

TEST(MemoStazione, NoFreeSlotIsError10BeforeTheBoardIsTouched) {
    stato_scenario s = prova::stato_percorso();
    voce_n(s, 1).testo = "(GALLERIA) (120)";
    int32_t i = 1;
    EXPECT_EQ(stazione(s, i, riga(0, 4, 600), 0), esito_stazione::errore);
    EXPECT_EQ(s.codice_errore, 10);
    EXPECT_EQ(voce_n(s, 1).testo, "(GALLERIA) (120)");
    EXPECT_EQ(voce_n(s, 1).valore3, 0);
}

TEST(MemoStazione, TimeIn32BitsAndNameAsRawBytes) {
    stato_scenario s = prova::stato_percorso();
    int32_t i = 1;
    ASSERT_EQ(stazione(s, i, "0, 4, 600, 0,0,0, 0,0,0, 0,0,0, 0, 1000000, 0, 0, S.MOMM\xC8'\r\n"),
              esito_stazione::registrata);
    EXPECT_EQ(voce_n(s, 1).valore4, -694967296);  // 3600000000 wrapped
    EXPECT_EQ(voce_n(s, 1).testo, "S.MOMM\xC8'");
}

TEST(MemoStazione, ReadFailures) {
    const std::string troppo_lungo = "0, 4, 600, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, " + std::string(32768, 'A');
    const std::string al_limite = "0, 4, 600, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, " + std::string(32767, 'A');
    for (const std::string& campi : {std::string("0, 256, 600"), std::string("0, 4, 600, 0,0,0, 40000"),
                                     std::string("0, 4, 600, 0,0,0, 0,0,0, 0,0,0, 256"),
                                     std::string("0, 4, 600, 0,0,0, 0,0,0, 0,0,0, 1, 16"), troppo_lungo}) {
        stato_scenario s = prova::stato_percorso();
        int32_t i = 1;
        EXPECT_THROW(stazione(s, i, campi), errore_lettura) << campi.substr(0, 60);
    }
    stato_scenario s = prova::stato_percorso();
    int32_t i = 1;
    EXPECT_EQ(stazione(s, i, al_limite), esito_stazione::registrata);

    stato_scenario senza_celle;
    EXPECT_THROW(stazione(senza_celle, i, riga(0, 4, 600)), errore_lettura);
}

}  // namespace
}  // namespace scenario
