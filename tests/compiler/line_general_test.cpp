// The line description up to its body: the header search, the general
// section's keywords and errors, and the ordering of the progressives.
#include "compiler/errors.h"
#include "compiler/field_reader.h"
#include "compiler/line_reader.h"
#include "tests/compiler/line_test_support.h"

#include <array>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace scenario {
namespace {

using prova::descrizione;
using prova::lettura_linea;

// The last error was recorded without a position.
void senza_posizione(const lettura_linea& l) {
    ASSERT_FALSE(l.log.errors.empty());
    EXPECT_FALSE(l.log.errors.back().has_position);
    EXPECT_EQ(l.s.posizione_errore, 0);
}

TEST(LineHeader, SkipsEverythingUpToTheFirstGeneraleFieldInAnyCase) {
    struct caso {
        const char* prima;
        const char* intestazione;
    } casi[] = {{"", "[generale]"},
                {"\r\n\r\n", "[GENERALE]"},
                {"junk, 12, [curve]\r\n", "[Generale]"},
                {"1,2\r\n", "x[generale]y"}};
    for (const caso& c : casi) {
        lettura_linea l(std::string(c.prima) + c.intestazione +
                        "\r\nlunghezza percorso, 40000\r\n[curve]\r\n[fine]\r\n");
        EXPECT_EQ(l.s.codice_errore, 0) << c.intestazione;
        EXPECT_EQ(l.s.n_celle, 940) << c.intestazione;
        EXPECT_TRUE(l.esito.prosegui) << c.intestazione;
    }
}

TEST(LineHeader, EndOfFileBeforeTheHeaderIsError102) {
    // The header that is itself the last field does not count either.
    for (const char* testo : {"a,b\r\nc\r\n", "x\r\n[generale]\r\n", "[generale]"}) {
        lettura_linea l(testo);
        EXPECT_EQ(l.s.codice_errore, 102) << testo;
        senza_posizione(l);
        EXPECT_FALSE(l.esito.prosegui);
        EXPECT_TRUE(l.linea_eliminata());
        EXPECT_FALSE(l.corsa_eliminata());
    }
}

TEST(LineHeader, MissingFileIsError101AndDeletesNothing) {
    stato_scenario s;
    sorgenti_in_memoria sorgenti(std::nullopt, std::string("[generale]\r\n"));
    const esito_fase_linea esito = prova::leggi_linea(s, sorgenti);
    EXPECT_EQ(s.codice_errore, 101);
    EXPECT_FALSE(esito.prosegui);
    EXPECT_TRUE(sorgenti.esiste(sorgente_testo::corsa));
}

TEST(LineGeneral, RouteLengthSizesCellsAndPlan) {
    struct caso {
        int32_t lunghezza;
        int32_t n_celle;  // (length + 7000) / 50, halves to even
    } casi[] = {{40000, 940}, {0, 140}, {25, 140}, {75, 142}, {1000000, 20140}};
    for (const caso& c : casi) {
        lettura_linea l(descrizione("", "LUNGHEZZA Percorso, " + std::to_string(c.lunghezza) + "\r\n"));
        EXPECT_EQ(l.s.codice_errore, 0);
        EXPECT_EQ(l.s.voci[voce_treno].valore2, c.lunghezza);
        EXPECT_EQ(l.s.lunghezza_estesa, c.lunghezza + 7000);
        EXPECT_EQ(l.s.n_celle, c.n_celle);
        EXPECT_EQ(l.s.celle.size(), std::size_t(c.n_celle) + 1);
        EXPECT_EQ(l.s.tracciato.punti(), std::size_t(c.lunghezza) + 7001);
    }
    lettura_linea senza_tracciato(descrizione(""), 0);
    EXPECT_EQ(senza_tracciato.s.n_celle, 940);
    EXPECT_FALSE(senza_tracciato.s.tracciato.esiste());
}

TEST(LineGeneral, RouteLengthAboveOneMillionIsError1) {
    lettura_linea l(descrizione("", "lunghezza percorso, 1000001\r\n"));
    EXPECT_EQ(l.s.codice_errore, 1);
    senza_posizione(l);
    EXPECT_EQ(l.s.voci[voce_treno].valore2, 1000001);
    EXPECT_FALSE(l.s.celle_esistono());
    EXPECT_FALSE(l.esito.prosegui);
    EXPECT_TRUE(l.linea_eliminata());
}

TEST(LineGeneral, TheLastRouteLengthCountsAndStaysAfterAnError) {
    std::string molte;
    for (int i = 0; i < 2000; ++i)
        molte += "lunghezza percorso, " + std::to_string(1000000 - i) + "\r\n";
    lettura_linea l(descrizione("", molte + "lunghezza percorso, 100\r\n"));
    EXPECT_EQ(l.s.lunghezza_estesa, 7100);
    EXPECT_EQ(l.s.tracciato.punti(), 7101u);
    // The route of the length read before a general-section error exists.
    for (const char* dopo : {"lunghezza percorso, 1000001", "ripetizione segnali 4, 75, 0"}) {
        lettura_linea e(descrizione("", prova::righe({"lunghezza percorso, 100", dopo})));
        EXPECT_NE(e.s.codice_errore, 0) << dopo;
        EXPECT_EQ(e.s.celle.size(), 143u) << dopo;
        EXPECT_EQ(e.s.tracciato.punti(), 7101u) << dopo;
    }
    stato_scenario s;
    sorgenti_in_memoria sorgenti(descrizione("", "lunghezza percorso, 100\r\nlunghezza percorso, -5\r\n"),
                                 std::nullopt);
    EXPECT_THROW(prova::leggi_linea(s, sorgenti), errore_lettura);
    EXPECT_EQ(s.celle.size(), 143u);
}

TEST(LineGeneral, ValueKeywordsAndTheirCaseRules) {
    const std::string generale = prova::righe({
        "lunghezza percorso, 40000",
        "progressiva chilometrica tre, 300, 1, 2",
        "progressiva chilometrica due, 200, 3, 4",
        "progressiva chilometrica uno, 100, 5, 6",
        "sfondo uno,    1",
        "sfondo due,    5900",
        "sfondo tre,    9700",
        // Exact case: these are not recognised, and their values pass as unknown fields.
        "Progressiva chilometrica uno, 900, 900, 900",
        "SFONDO UNO, 4",
        "Ripetizione segnali 4, 100, 300",
    });
    lettura_linea l(descrizione("", generale));
    EXPECT_EQ(l.s.codice_errore, 0);
    const auto terna = [&](int slot) {
        const voce& v = l.s.voci[std::size_t(slot)];
        return std::array<int32_t, 3>{v.valore1, v.valore2, v.valore3};
    };
    EXPECT_EQ(terna(voce_progressiva_tre), (std::array<int32_t, 3>{300, 1, 2}));
    EXPECT_EQ(terna(voce_progressiva_due), (std::array<int32_t, 3>{200, 3, 4}));
    EXPECT_EQ(terna(voce_progressiva_uno), (std::array<int32_t, 3>{100, 5, 6}));
    // Scenery values go crossed: uno, tre, due.
    EXPECT_EQ(terna(voce_scenario), (std::array<int32_t, 3>{1, 9700, 5900}));
    EXPECT_EQ(terna(voce_identita_treno), (std::array<int32_t, 3>{0, 0, 0}));
}

TEST(LineGeneral, SignalRepetition) {
    struct caso {
        const char* riga;
        int32_t errore;
        std::array<int32_t, 3> voce86;
    } casi[] = {
        {"ripetizione segnali 4 codici,    0    ,0", 0, {0, 0, 0}},  // the 4 is cleared by B = 0
        {"ripetizione segnali 4 codici, 100, 250", 0, {100, 250, 4}},
        {"ripetizione segnali 9 codici, 100, 250", 0, {100, 250, 9}},
        {"ripetizione segnali 9 codici, 100, 300", 0, {100, 300, 9}},
        {"ripetizione segnali 49, 50, 100", 0, {50, 100, 4}},
        {"ripetizione segnali 9, -100, -300", 0, {-100, -300, 9}},
        {"ripetizione segnali 9 codici, 100, 275", 4, {100, 275, 0}},
        {"ripetizione segnali 9 codici, 75, 275", 3, {75, 275, 0}},
        {"ripetizione segnali, 100, 300", 5, {100, 300, 0}},
    };
    for (const caso& c : casi) {
        lettura_linea l(descrizione("", prova::righe({"lunghezza percorso, 40000", c.riga})));
        EXPECT_EQ(l.s.codice_errore, c.errore) << c.riga;
        const voce& v = l.s.voci[voce_identita_treno];
        EXPECT_EQ((std::array<int32_t, 3>{v.valore1, v.valore2, v.valore3}), c.voce86) << c.riga;
        EXPECT_EQ(l.esito.prosegui, c.errore == 0) << c.riga;
        EXPECT_EQ(l.linea_eliminata(), true);
        if (c.errore != 0)
            senza_posizione(l);
    }
}

TEST(LineGeneral, DashFieldsAreReplacedUpToTenTimes) {
    // After "-" fields, the field in hand: with nine of them the dashed header
    // is replaced too and "sfondo uno" is read; with ten, the header is the
    // eleventh field and is tested: it ends the section unless it begins with "-".
    struct caso {
        int trattini;
        const char* intestazione;
        int32_t sfondo_uno;
    } casi[] = {{9, "a-[x]", 7}, {10, "a-[x]", 0}, {10, "-[x]", 7}};
    for (const caso& c : casi) {
        std::string generale = "lunghezza percorso, 40000\r\n";
        for (int i = 0; i < c.trattini; ++i)
            generale += "-\r\n";
        generale += std::string(c.intestazione) + "\r\nsfondo uno, 7\r\n";
        lettura_linea l(descrizione("", generale));
        EXPECT_EQ(l.s.codice_errore, 0);
        EXPECT_EQ(l.s.voci[voce_scenario].valore1, c.sfondo_uno) << c.trattini << c.intestazione;
    }
    // A replaced field is interpreted.
    lettura_linea l(descrizione("", "--- , lunghezza percorso, 500\r\n"));
    EXPECT_EQ(l.s.voci[voce_treno].valore2, 500);
}

TEST(LineGeneral, SectionEndFieldIsTestedAsAKeywordFirst) {
    lettura_linea l(descrizione("sfondo due, 3\r\n", "lunghezza percorso, 40000\r\n[sfondo uno], 5\r\n"));
    EXPECT_EQ(l.s.voci[voce_scenario].valore1, 5);
    EXPECT_EQ(l.s.voci[voce_scenario].valore3, 0);  // in the body: not a body keyword
}

TEST(LineGeneral, EndOfFileInTheGeneralSection) {
    // No section end: the body is empty and the fills run.
    lettura_linea senza_corpo("[generale]\r\nlunghezza percorso, 1000\r\n");
    EXPECT_EQ(senza_corpo.s.codice_errore, 0);
    EXPECT_TRUE(senza_corpo.esito.prosegui);
    EXPECT_EQ(senza_corpo.s.celle[0].pendenza, 100);
    // A keyword that is the last field is not interpreted (its value would be past the end).
    lettura_linea ultima("[generale]\r\nlunghezza percorso, 1000\r\nsfondo uno");
    EXPECT_EQ(ultima.s.codice_errore, 0);
    EXPECT_TRUE(ultima.esito.prosegui);
    // Dash replacements make no end-of-file test: running out of fields is a read failure.
    for (const char* testo : {"[generale]\r\nlunghezza percorso, 1000\r\n-\r\n-", ""}) {
        stato_scenario s;
        sorgenti_in_memoria sorgenti(std::string(testo), std::nullopt);
        EXPECT_THROW(prova::leggi_linea(s, sorgenti), errore_lettura) << testo;
    }
}

using terna = std::array<int32_t, 3>;
using terne = std::array<terna, 3>;  // slots 81, 82, 83 ("tre", "due", "uno" before ordering)

terne ordina(const terne& prima) {
    stato_scenario s;
    for (std::size_t k = 0; k < 3; ++k) {
        voce& v = s.voci[voce_progressiva_tre + k];
        v.valore1 = prima[k][0];
        v.valore2 = prima[k][1];
        v.valore3 = prima[k][2];
    }
    progressive_ordina(s);
    terne dopo{};
    for (std::size_t k = 0; k < 3; ++k) {
        const voce& v = s.voci[voce_progressiva_tre + k];
        dopo[k] = {v.valore1, v.valore2, v.valore3};
    }
    return dopo;
}

TEST(ProgressiveOrdina, OrdersTheTriples) {
    struct caso {
        const char* nome;
        terne prima;
        terne dopo;
    } casi[] = {
        {"example: only uno",
         {{{0, 0, 0}, {0, 0, 0}, {0, 33550, 0}}},
         {{{0, 33550, 0}, {0, 0, 0}, {0, 0, 0}}}},
        {"already in order",
         {{{300, 1, 2}, {200, 3, 4}, {100, 5, 6}}},
         {{{300, 1, 2}, {200, 3, 4}, {100, 5, 6}}}},
        {"due largest, uno next",
         {{{100, 1, 0}, {300, 2, 0}, {200, 3, 0}}},
         {{{300, 2, 0}, {200, 3, 0}, {100, 1, 0}}}},
        {"uno largest, tre next",
         {{{200, 1, 0}, {100, 2, 0}, {300, 3, 0}}},
         {{{300, 3, 0}, {200, 1, 0}, {100, 2, 0}}}},
        {"tie behind the largest",
         {{{300, 1, 0}, {100, 2, 0}, {100, 3, 0}}},
         {{{300, 1, 0}, {100, 3, 0}, {100, 2, 0}}}},
        {"shared largest", {{{300, 1, 0}, {300, 2, 0}, {0, 3, 0}}}, {}},
        {"negative sum, shared zero", {{{-100, 5, 0}, {0, 6, 0}, {0, 7, 0}}}, {}},
        {"zero sum: tre", {{{0, 5, 1}, {0, 0, 0}, {0, 0, 0}}}, {{{0, 105, 1}, {0, 0, 0}, {0, 0, 0}}}},
        {"zero sum: due after tre",
         {{{0, 5, 0}, {0, 6, 0}, {0, -1, 0}}},
         {{{0, 6, 0}, {0, 5, 0}, {0, -1, 0}}}},
        {"zero sum: uno wins", {{{0, 5, 0}, {0, 6, 0}, {0, 7, 0}}}, {{{0, 7, 0}, {0, 6, 0}, {0, 5, 0}}}},
        {"zero sum of nonzero starts",
         {{{100, 0, 0}, {-100, 9, 0}, {0, 0, 0}}},
         {{{-100, 9, 0}, {100, 0, 0}, {0, 0, 0}}}},
        {"nothing positive", {{{0, 0, 1}, {0, -5, 1}, {0, 0, 0}}}, {}},
        {"valore3 1 adds 100",
         {{{300, 1, 1}, {200, 3, 1}, {100, 5, 2}}},
         {{{300, 101, 1}, {200, 103, 1}, {100, 5, 2}}}},
    };
    for (const caso& c : casi)
        EXPECT_EQ(ordina(c.prima), c.dopo) << c.nome;
}

TEST(ProgressiveOrdina, AddingBeyond32BitsIsAReadFailure) {
    const int32_t massimo = std::numeric_limits<int32_t>::max();
    EXPECT_THROW(ordina({{{300, massimo, 1}, {0, 0, 0}, {0, 0, 0}}}), errore_lettura);
    EXPECT_EQ(ordina({{{300, massimo - 100, 1}, {0, 0, 0}, {0, 0, 0}}})[0][1], massimo);
}

}  // namespace
}  // namespace scenario
