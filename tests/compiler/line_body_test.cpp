// The body of the line description: gradients, the track plan, the position
// check and the end-of-file rules.
#include "compiler/errors.h"
#include "compiler/track_plan.h"
#include "tests/compiler/line_test_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace scenario {
namespace {

using prova::descrizione;
using prova::lettura_linea;

// `pendenza` of cells [da, a] all equal to `valore`.
::testing::AssertionResult pendenze(const stato_scenario& s, int32_t da, int32_t a, int valore) {
    for (int32_t c = da; c <= a; ++c)
        if (s.celle[std::size_t(c)].pendenza != valore)
            return ::testing::AssertionFailure()
                   << "cell " << c << " has " << int(s.celle[std::size_t(c)].pendenza);
    return ::testing::AssertionSuccess();
}

TEST(LineGradients, EachLineClosesThePreviousStretch) {
    // 40000 m: n_celle 940; the fill ends at cell 937 (n_celle - 3).
    lettura_linea l(descrizione(prova::righe({"pendenza,  0,   2", "pendenza,  550,   12"})));
    EXPECT_EQ(l.s.codice_errore, 0);
    EXPECT_TRUE(pendenze(l.s, 0, 10, 102));
    EXPECT_TRUE(pendenze(l.s, 11, 937, 112));
    EXPECT_TRUE(pendenze(l.s, 938, 940, 0));
}

TEST(LineGradients, StoredPlus100InOneByte) {
    struct caso {
        int32_t pendenza;
        int cella;
    } casi[] = {{-17, 83}, {-100, 0}, {155, 255}, {156, 0}, {-101, 255}, {2147483647, 99}};
    for (const caso& c : casi) {
        lettura_linea l(descrizione("pendenza, 0, " + std::to_string(c.pendenza) + "\r\n"));
        EXPECT_TRUE(pendenze(l.s, 0, 937, c.cella)) << c.pendenza;
    }
}

TEST(LineGradients, FillIndexCases) {
    struct caso {
        const char* nome;
        std::string corpo;
        int32_t da, a;
        int valore;
    } casi[] = {
        {"before the first line: gradient 0", "pendenza, 200, 5\r\n", 0, 3, 100},
        {"first line beyond 0 opens its stretch", "pendenza, 200, 5\r\n", 4, 937, 105},
        // A line not beyond the fill index still writes one cell.
        {"out of order: first stretch", "pendenza, 500, 1\r\npendenza, 100, 2\r\n", 0, 9, 100},
        {"out of order: one cell", "pendenza, 500, 1\r\npendenza, 100, 2\r\n", 10, 10, 101},
        {"out of order: the rest", "pendenza, 500, 1\r\npendenza, 100, 2\r\n", 11, 937, 102},
        // At the last accepted position the end fill writes cell n_celle - 2.
        {"last position: before", "pendenza, 46900, 7\r\n", 0, 937, 100},
        {"last position: the one cell", "pendenza, 46900, 7\r\n", 938, 938, 107},
        {"last position: last two", "pendenza, 46900, 7\r\n", 939, 940, 0},
        {"values are not dash fields", "pendenza, 0, -5\r\n", 0, 937, 95},
    };
    for (const caso& c : casi) {
        lettura_linea l(descrizione(c.corpo));
        EXPECT_EQ(l.s.codice_errore, 0) << c.nome;
        EXPECT_TRUE(pendenze(l.s, c.da, c.a, c.valore)) << c.nome;
    }
}

TEST(LinePlan, StartsAtTheOriginAndLeavesTheLastTwoPointsEmpty) {
    lettura_linea l(descrizione(""));
    const tracciato_linea& t = l.s.tracciato;
    using e = valore_tracciato::etichetta;
    ASSERT_EQ(t.ultimo_punto, 47000);
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(t.at(0, c).tipo, e::intero);
        EXPECT_EQ(t.at(1, c).tipo, e::intero);
        EXPECT_EQ(t.at(46998, c).tipo, e::reale);
        EXPECT_EQ(t.at(46999, c).tipo, e::vuoto);
        EXPECT_EQ(t.at(47000, c).tipo, e::vuoto);
    }
    EXPECT_EQ(t.at(1, 1).intero, 1);
    EXPECT_EQ(l.x(46998), 0.0);
    EXPECT_EQ(l.y(46998), 46998.0);
}

TEST(LinePlan, FirstCurveOfTheLine) {
    lettura_linea l(descrizione("curvad5,  400,  550\r\n"));
    EXPECT_EQ(l.s.codice_errore, 0);
    for (int32_t p = 2; p <= 400; ++p) {
        ASSERT_EQ(l.x(p), 0.0) << p;
        ASSERT_EQ(l.y(p), double(p)) << p;
    }
    EXPECT_EQ(l.x(401), 0.002);
    EXPECT_EQ(l.y(401), 401.0);
    EXPECT_EQ(l.x(402), 0.002 + (0.002 + 0.002 * 1.0));
    EXPECT_EQ(l.y(402), 401.0 + (1.0 - 0.002 * 0.002));
    EXPECT_NEAR(l.x(402), 0.006, 1e-15);
    EXPECT_NEAR(l.y(402), 401.999996, 1e-9);
    // 550 curved steps turn the heading by about 550 * 0.002 rad towards +x.
    const double direzione = std::atan2(l.x(951) - l.x(950), l.y(951) - l.y(950));
    EXPECT_NEAR(direzione, 1.1, 1e-5);
    // Beyond the curve the step is repeated unchanged.
    EXPECT_EQ(l.x(1000) - l.x(999), l.x(999) - l.x(998));
}

TEST(LinePlan, CurvasTurnsTowardsMinusX) {
    lettura_linea l(descrizione("curvas6,  2000,  50\r\n"));
    EXPECT_EQ(l.x(2000), 0.0);
    EXPECT_EQ(l.x(2001), -0.003);
    EXPECT_LT(l.x(2050) - l.x(2049), l.x(2049) - l.x(2048));
    EXPECT_EQ(l.x(2052) - l.x(2051), l.x(2051) - l.x(2050));
}

TEST(LinePlan, ALaterCurveStartingBehindThePlanContinuesFromIt) {
    // The second curve starts inside the first: no run-in, its curvature from point 501.
    lettura_linea l(descrizione("curvad5, 400, 100\r\ncurvas5, 450, 100\r\n"));
    const double dx = l.x(500) - l.x(499), dy = l.y(500) - l.y(499);
    EXPECT_EQ(l.x(501), l.x(500) + (dx + -0.002 * dy));
    EXPECT_EQ(l.y(501), l.y(500) + (dy - -0.002 * dx));
}

TEST(LinePlan, CurvatureFromTheKeyword) {
    struct caso {
        const char* parola;
        double curvatura;  // 0: no class digit
    } casi[] = {{"curvad1", 0.0001}, {"curvad2", 0.0002}, {"curvad3", 0.0004}, {"curvad4", 0.001},
                {"curvad5", 0.002},  {"curvas6", -0.003}, {"CURVAS4", -0.001}, {"curva61", 0.0001},
                {"curva", 0.0},      {"curvad7", 0.0}};
    for (const caso& c : casi)
        EXPECT_EQ(curvatura_parola(c.parola).value_or(0.0), c.curvatura) << c.parola;
}

TEST(LinePlan, CurveErrors103) {
    struct caso {
        const char* nome;
        std::string generale;
        std::string corpo;
    } casi[] = {
        {"no class digit", "lunghezza percorso, 40000\r\n", "curva,  400,  100\r\n"},
        {"points beyond 1000000", "lunghezza percorso, 1000000\r\n", "curvad5, 999990, 10\r\n"},
    };
    for (const caso& c : casi) {
        lettura_linea l(descrizione(c.corpo, c.generale));
        EXPECT_EQ(l.s.codice_errore, 103) << c.nome;
        EXPECT_FALSE(l.log.errors.back().has_position) << c.nome;
        EXPECT_FALSE(l.esito.prosegui) << c.nome;
        EXPECT_TRUE(l.linea_eliminata()) << c.nome;
    }
    // Point 1000000 is computed, the next one is refused.
    lettura_linea l(descrizione("curvad5, 999990, 10\r\n", "lunghezza percorso, 1000000\r\n"));
    EXPECT_EQ(l.s.tracciato.at(1000000, 0).tipo, valore_tracciato::etichetta::reale);
    EXPECT_EQ(l.s.tracciato.at(1000001, 0).tipo, valore_tracciato::etichetta::vuoto);
}

TEST(LinePlan, CurveEndingOnTheLastPointFillsTheLastTwo) {
    lettura_linea l(descrizione("curvad5, 6900, 100\r\n", "lunghezza percorso, 0\r\n"));
    EXPECT_EQ(l.s.codice_errore, 0);
    EXPECT_EQ(l.s.tracciato.at(7000, 0).tipo, valore_tracciato::etichetta::reale);
    EXPECT_EQ(l.s.tracciato.at(6999, 1).tipo, valore_tracciato::etichetta::reale);
}

TEST(LinePlan, WithoutPlanCurveLinesAreUnknownFields) {
    lettura_linea l(descrizione("curva, 400, 100\r\npendenza, 0, 3\r\n"), 0);
    EXPECT_EQ(l.s.codice_errore, 0);
    EXPECT_FALSE(l.s.tracciato.esiste());
    EXPECT_TRUE(pendenze(l.s, 0, 937, 103));
}

TEST(LinePosition, TooCloseToTheEndIsError15AndReadingStops) {
    // n_celle 940: 46900 is the last accepted position.
    const char* righe[] = {
        "pendenza, 46950, 9",
        "curvad5, 46950, 10",
        "montagna, 46950, 47000, 1",
        "indicatori_vmax, 46950, 1, 1, 1, 0, 0, 0, 0, 0",
        "cartello_indicatore, 46950, (X)",
    };
    for (const char* riga : righe) {
        lettura_linea l(
            descrizione(prova::righe({"pendenza, 0, 3", riga, "pendenza, 1000, 9", "montagna, 0, 500, 1"})));
        EXPECT_EQ(l.s.codice_errore, 15) << riga;
        EXPECT_EQ(l.s.posizione_errore, 46950) << riga;
        EXPECT_EQ(l.log.errors.back().place.line, 5) << riga;
        EXPECT_TRUE(l.esito.prosegui) << riga;
        EXPECT_TRUE(l.linea_eliminata()) << riga;
        // Nothing after the line is read; the end-of-file fills still run.
        EXPECT_TRUE(pendenze(l.s, 0, 937, 103)) << riga;
        EXPECT_EQ(l.s.n_montagne, 0) << riga;
        EXPECT_EQ(l.s.tracciato.at(46998, 0).tipo, valore_tracciato::etichetta::reale) << riga;
    }
    lettura_linea ultima(descrizione("montagna, 46900, 47000, 1\r\n"));
    EXPECT_EQ(ultima.s.codice_errore, 0);
}

TEST(LineEndOfFile, CompleteLastLineIsReadALoneLastKeywordIsNot) {
    const std::string inizio = "[generale]\r\nlunghezza percorso, 40000\r\n[curve]\r\n";
    struct caso {
        const char* nome;
        std::string coda;
        int valore;
    } casi[] = {
        {"no final line end", "pendenza, 0, 5", 105},
        {"keyword is the last field", "pendenza, 0, 5\r\npendenza", 105},
        {"keyword after a dash is the last field", "pendenza, 0, 5\r\n-\r\npendenza\r\n", 105},
        {"dash replaced by the keyword", "-, pendenza, 0, 6\r\n[fine]\r\n", 106},
        {"two dashes replaced", "--,-x-,pendenza, 0, 6\r\n[fine]\r\n", 106},
        {"third dash field is tested", "-,-,-pendenza, 0, 7\r\n[fine]\r\n", 107},
    };
    for (const caso& c : casi) {
        lettura_linea l(inizio + c.coda);
        EXPECT_EQ(l.s.codice_errore, 0) << c.nome;
        EXPECT_TRUE(pendenze(l.s, 0, 937, c.valore)) << c.nome;
    }
}

}  // namespace
}  // namespace scenario
