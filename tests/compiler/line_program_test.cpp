// The program's own line description, and the largest route the reader accepts.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tests/compiler/line_test_support.h"

#include <chrono>
#include <gtest/gtest.h>
#include <iostream>
#include <string>

namespace scenario {
namespace {

TEST(LineProgram, ReadsTheProgramsOwnLineDescription) {
    const std::string testo = testo_lista(sorgenti::righe_linea());
    if (testo.empty())
        GTEST_SKIP() << "the line description writer has no content yet";
    prova::lettura_linea l(testo);
    const stato_scenario& s = l.s;
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_TRUE(l.log.errors.empty());
    EXPECT_TRUE(l.esito.prosegui);
    EXPECT_TRUE(l.linea_eliminata());
    EXPECT_EQ(s.voci[voce_treno].valore2, 40000);
    EXPECT_EQ(s.lunghezza_estesa, 47000);
    EXPECT_EQ(s.n_celle, 940);
    ASSERT_EQ(s.tracciato.punti(), 47001u);
    using e = valore_tracciato::etichetta;
    EXPECT_EQ(s.tracciato.at(46998, 0).tipo, e::reale);
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(s.tracciato.at(46999, c).tipo, e::vuoto);
        EXPECT_EQ(s.tracciato.at(47000, c).tipo, e::vuoto);
    }
    EXPECT_EQ(l.x(401), 0.002);
    EXPECT_EQ(l.y(402), 401.0 + (1.0 - 0.002 * 0.002));
    // General values.
    EXPECT_EQ(s.voci[81].valore2, 33550);
    EXPECT_EQ(s.voci[85].valore1, 1);
    EXPECT_EQ(s.voci[85].valore2, 9700);
    EXPECT_EQ(s.voci[85].valore3, 5900);
    EXPECT_EQ(s.voci[86].valore3, 0);
    // Gradients, tunnels and boards.
    EXPECT_EQ(s.celle[0].pendenza, 102);
    EXPECT_EQ(s.celle[937].pendenza, 100);
    EXPECT_EQ(s.celle[938].pendenza, 0);
    EXPECT_EQ(s.n_montagne, 42);
    EXPECT_EQ(s.celle[9].tipo, 6);
    EXPECT_EQ(s.celle[9].dato1, 1500);
    EXPECT_EQ(s.celle[116].tipo, 14);
    EXPECT_EQ(s.celle[116].dato1, 80);
    EXPECT_EQ(s.voci[80].testo, "(VAIONI)(535 m.)");
    EXPECT_EQ(l.esito.slot_cartelli, 80 - 43);
}

// A line description of `metri` with lines spread along it.
std::string linea_lunga(int32_t metri) {
    std::string t = "[generale]\r\nlunghezza percorso, " + std::to_string(metri) + "\r\n[curve]\r\n";
    for (int32_t p = 400; p + 600 < metri; p += 2000)
        t += std::string(p % 4000 == 400 ? "curvad5" : "curvas6") + ",  " + std::to_string(p) + ",  500\r\n";
    t += "[pendenze]\r\n";
    for (int32_t p = 0; p < metri; p += 1000)
        t += "pendenza,  " + std::to_string(p) + ",   " + std::to_string(p % 30 - 15) + "\r\n";
    t += "[montagne]\r\n";
    for (int32_t i = 0; i < 80; ++i) {
        const int32_t inizio = 5000 + i * (metri / 81);
        t += "montagna,   " + std::to_string(inizio) + ",  " + std::to_string(inizio + 1000) + ",  12\r\n";
    }
    t += "[fine]\r\n";
    return t;
}

TEST(LineProgram, ReadsTheLargestRoute) {
    const std::string testo = linea_lunga(1000000);
    stato_scenario s;
    s.compila_linea = 1;
    sorgenti_in_memoria sorgenti(testo, std::nullopt);
    const auto inizio = std::chrono::steady_clock::now();
    const esito_fase_linea esito = prova::leggi_linea(s, sorgenti);
    const auto durata = std::chrono::steady_clock::now() - inizio;
    std::cout << "[ timing ] 1000000 m route read in "
              << std::chrono::duration_cast<std::chrono::milliseconds>(durata).count() << " ms\n";
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_TRUE(esito.prosegui);
    EXPECT_EQ(s.n_celle, 20140);
    EXPECT_EQ(s.n_montagne, 80);
    ASSERT_EQ(s.tracciato.punti(), 1007001u);
    EXPECT_EQ(s.tracciato.at(1006998, 1).tipo, valore_tracciato::etichetta::reale);
    EXPECT_EQ(s.tracciato.at(1006999, 1).tipo, valore_tracciato::etichetta::vuoto);
}

}  // namespace
}  // namespace scenario
