// What a compile tells diagnostics besides the error record: why reading
// failed, which source line placed each item in a cell, the line behind the
// errors found after reading, and the stop of the run phase for an error the
// line phase left.
#include "compiler/compile_driver.h"
#include "compiler/errors.h"
#include "compiler/source_store.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace scenario {
namespace {

using el = elemento_sorgente;
using st = sorgente_testo;

std::string righe(const std::vector<std::string>& r) {
    std::string t;
    for (const std::string& x : r)
        t += x + "\r\n";
    return t;
}

// A 10 km line: [generale] on line 1, the route length on line 2, the body
// from line 4.
std::string linea(const std::vector<std::string>& corpo = {}) {
    std::vector<std::string> r{"[generale]", "lunghezza percorso, 10000", "[curve]"};
    r.insert(r.end(), corpo.begin(), corpo.end());
    r.push_back("[fine]");
    return righe(r);
}

// A run description whose given lines start at line 3.
std::string corsa(const std::vector<std::string>& r) {
    std::vector<std::string> t{"[generale]", "velocita, 0, 80"};
    t.insert(t.end(), r.begin(), r.end());
    t.push_back("[fine]");
    return righe(t);
}

std::string segnale(int p) {
    return "segnale, " + std::to_string(p) + ", 1, 4, 1, 0, 0, 0, 0,0,0, 0";
}
const std::string alfa = "stazione, 0, 4, 600, 0,0,0, 1,1,0, 4,1,1, 1, 16,20,0, ALFA";
const std::string beta = "stazione, 8000, 12, 400, 0,0,0, 1,1,0, 4,1,1, 60, 16,30,0, BETA";

struct compilazione {
    stato_scenario s;
    std::optional<std::string> arresto;

    compilazione(std::optional<std::string> l, std::optional<std::string> c) {
        s.nome_scenario = "Calvena_Roccalba";
        s.numero_treno = "4127";
        sorgenti_in_memoria sorgenti(std::move(l), std::move(c));
        arresto = compila_scenario(s, 0, sorgenti);
    }
    const luogo_lettura& origine(std::size_t c) const { return s.origine_celle.at(c); }
};

void atteso_luogo(const luogo_lettura& l, st sorgente, int32_t riga, el elemento) {
    EXPECT_TRUE(l.valido);
    EXPECT_EQ(l.sorgente, sorgente);
    EXPECT_EQ(l.riga, riga);
    EXPECT_EQ(l.elemento, elemento);
}

// ---- why reading failed ---------------------------------------------------------

TEST(ReadFailures, KeepWhyReadingFailedAndTheLine) {
    struct caso {
        const char* nome;
        std::optional<std::string> linea;
        std::optional<std::string> corsa;
        const char* dettaglio;
        std::optional<luogo_lettura> luogo;  // none: no line was being read
    } casi[] = {
        {"file ends inside a line", linea(), righe({"[generale]", "segnale, 3650, 1"}),
         "the file ends before the values of this line are complete",
         luogo_lettura{true, st::corsa, 2, el::segnale}},
        {"number beyond 32 bits", linea({"pendenza, 99999999999, 0"}), corsa({alfa}),
         "a number lies outside the 32-bit range", luogo_lettura{true, st::linea, 4, el::pendenza}},
        {"number beyond a byte", linea(),
         corsa({"stazione, 0, 4, 600, 0,0,0, 1,1,0, 4,1,1, 300, 16,20,0, ALFA"}),
         "a number does not fit 0 to 255", luogo_lettura{true, st::corsa, 3, el::stazione}},
        {"number beyond 16 bits", linea(), corsa({"orologio, 70000, 0, 0"}), "a number does not fit 16 bits",
         luogo_lettura{true, st::corsa, 3, el::orologio}},
        {"a reader's own failure", linea({"montagna, -100, 500, 1"}), corsa({alfa}),
         "the tunnel starts before the start of the route", luogo_lettura{true, st::linea, 4, el::galleria}},
        {"no run description", linea(), std::nullopt, "the run description is missing", std::nullopt},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const compilazione k(c.linea, c.corsa);
        EXPECT_EQ(k.s.codice_errore, 25);
        EXPECT_EQ(k.s.posizione_errore, 0);  // a read failure leaves it as it was
        ASSERT_EQ(k.s.errori.size(), 1u);
        const errore_registrato& e = k.s.errori.back();
        EXPECT_NE(e.dettaglio.find(c.dettaglio), std::string::npos) << e.dettaglio;
        EXPECT_NE(messaggio_errore(e).find(e.dettaglio), std::string::npos) << messaggio_errore(e);
        if (c.luogo) {
            atteso_luogo(e.luogo, c.luogo->sorgente, c.luogo->riga, c.luogo->elemento);
        } else {
            EXPECT_FALSE(e.luogo.valido);
        }
    }
}

TEST(ReadFailures, OtherErrorsCarryNoReason) {
    const compilazione k(linea(), corsa({alfa, segnale(3650), segnale(3650)}));
    ASSERT_EQ(k.s.errori.size(), 1u);
    EXPECT_EQ(k.s.errori[0].codice, 16);
    EXPECT_EQ(k.s.errori[0].dettaglio, "");
}

// ---- where the items in the cells came from -----------------------------------

TEST(CellOrigins, EveryItemNamesTheLineThatPlacedIt) {
    const compilazione k(
        linea({"indicatori_vmax, 400, 75, 80, 80, 0, , , , 0", "cartello_indicatore, 5750, (GALLERIA)",
               "montagna, 6000, 7000, 12"}),
        corsa({alfa, segnale(3350), "rallentamento, 5000, 30, 300, 0, 1, 0", "abbattimento, 8000, 5"}));
    const stato_scenario& s = k.s;
    ASSERT_EQ(s.codice_errore, 0) << messaggio_errore(s.errori.back());
    ASSERT_EQ(s.origine_celle.size(), s.celle.size());

    struct voce_attesa {
        std::size_t cella;
        uint8_t tipo;
        st sorgente;
        int32_t riga;
        el elemento;
    } attese[] = {
        {9, tipo_cella::indicatore_vmax, st::linea, 4, el::indicatore_vmax},
        {116, tipo_cella::cartello_galleria, st::linea, 5, el::cartello_galleria},
        {123, tipo_cella::lampada_galleria, st::linea, 6, el::galleria},
        {5, tipo_cella::fermata, st::corsa, 3, el::stazione},
        {68, tipo_cella::segnale, st::corsa, 4, el::segnale},
        {101, tipo_cella::inizio_rallentamento, st::corsa, 5, el::rallentamento},
        {107, tipo_cella::fine_rallentamento, st::corsa, 5, el::rallentamento},
        {77, tipo_cella::avviso_rallentamento, st::corsa, 5, el::rallentamento},
        {73, tipo_cella::approccio_rallentamento, st::corsa, 5, el::rallentamento},
        {160, tipo_cella::segno, st::corsa, 6, el::abbattimento},
        // The sweep's marks keep the origin of what they serve: the signal
        // behind the advance point, the slowdown's approach.
        {67, tipo_cella::segno, st::corsa, 4, el::segnale},
        {96, tipo_cella::segno, st::corsa, 5, el::rallentamento},
    };
    for (const voce_attesa& a : attese) {
        SCOPED_TRACE(a.cella);
        EXPECT_EQ(s.celle[a.cella].tipo, a.tipo);
        atteso_luogo(k.origine(a.cella), a.sorgente, a.riga, a.elemento);
    }
    for (std::size_t c = 0; c < s.celle.size(); ++c) {
        if (s.celle[c].tipo != tipo_cella::libera) {
            EXPECT_TRUE(s.origine_celle[c].valido) << c;
        }
    }
    EXPECT_FALSE(k.origine(2).valido);

    // The records read from a line name it too.
    atteso_luogo(s.origine_voci[1], st::corsa, 3, el::stazione);
    atteso_luogo(s.origine_voci[prima_voce_cartelli], st::linea, 5, el::cartello_galleria);
}

TEST(CellOrigins, AStopCellThatReplacesABoardTakesTheStationsLine) {
    // The stop cell of BETA (area 7800 to 8200 m) is cell 163, where the board stood.
    const compilazione k(linea({"cartello_indicatore, 8100, (G)"}), corsa({alfa, beta}));
    EXPECT_EQ(k.s.celle[163].tipo, tipo_cella::fermata);
    atteso_luogo(k.origine(163), st::corsa, 4, el::stazione);
}

TEST(CellOrigins, ACompileStartsWithoutTheOriginsOfTheLastOne) {
    stato_scenario s;
    s.nome_scenario = "N";
    s.numero_treno = "1";
    sorgenti_in_memoria prima(linea(), corsa({alfa, beta, segnale(3650)}));
    ASSERT_EQ(compila_scenario(s, 0, prima), std::nullopt);
    ASSERT_TRUE(s.origine_celle.at(74).valido);
    ASSERT_TRUE(s.origine_voci[2].valido);
    sorgenti_in_memoria seconda(linea(), corsa({alfa}));
    ASSERT_EQ(compila_scenario(s, 0, seconda), std::nullopt);
    EXPECT_FALSE(s.origine_celle.at(74).valido);
    EXPECT_FALSE(s.origine_voci[2].valido);
}

// ---- errors found after reading ------------------------------------------------

TEST(SweepErrors, NameTheSignalOrSlowdownTheyConcern) {
    const std::string lento = "rallentamento, 5000, 30, 300, 0, 0, 0";
    struct caso {
        int32_t codice;
        std::vector<std::string> corsa;
        int32_t posizione;
        int32_t cella;  // of the signal or slowdown start served
        int32_t riga;
        el elemento;
    } casi[] = {
        {11, {alfa, segnale(3350), segnale(3400), segnale(3450), lento}, 3500, 70, 6, el::segnale},
        {12, {alfa, segnale(4650), segnale(4700), segnale(4750), lento}, 5050, 101, 7, el::rallentamento},
        {13,
         {alfa, segnale(5350), segnale(5400), segnale(5450), "rallentamento, 5000, 30, 1000, 0, 0, 0"},
         5450,
         101,
         7,
         el::rallentamento},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.codice);
        const compilazione k(linea(), corsa(c.corsa));
        ASSERT_EQ(k.s.errori.size(), 1u);
        const errore_registrato& e = k.s.errori[0];
        EXPECT_EQ(e.codice, c.codice);
        EXPECT_EQ(e.posizione, c.posizione);
        EXPECT_EQ(e.cella, c.cella);
        atteso_luogo(e.luogo, st::corsa, c.riga, c.elemento);
        EXPECT_EQ(k.s.codice_errore, c.codice);
        EXPECT_EQ(k.s.posizione_errore, c.posizione);
    }
}

TEST(StampErrors, AreLoggedWithTheItemInCellOneAndLeaveTheRecordAlone) {
    struct caso {
        const char* nome;
        std::string linea;
        std::string corsa;
        const char* arresto;
        int32_t codice_errore;  // what the record holds: the readers' last error
        luogo_lettura luogo;
    } casi[] = {
        {"signal in cell 1", linea(), corsa({alfa, segnale(0)}), "1250", 0,
         luogo_lettura{true, st::corsa, 4, el::segnale}},
        {"after a reader error", linea(), corsa({alfa, segnale(0), segnale(3650), segnale(3650)}), "1250", 16,
         luogo_lettura{true, st::corsa, 4, el::segnale}},
        {"speed board in cell 1", linea({"indicatori_vmax,  0,  0, 1, 0, 0, 0, 0, 0, 0"}), corsa({alfa}),
         "1251", 0, luogo_lettura{true, st::linea, 4, el::indicatore_vmax}},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const compilazione k(c.linea, c.corsa);
        ASSERT_EQ(k.arresto, std::optional<std::string>(c.arresto));
        ASSERT_FALSE(k.s.errori.empty());
        const errore_registrato& e = k.s.errori.back();
        EXPECT_EQ(std::to_string(e.codice), c.arresto);
        EXPECT_EQ(gravita(e.codice), gravita_errore::fatale);
        EXPECT_FALSE(e.con_posizione);
        EXPECT_EQ(e.cella, 1);
        atteso_luogo(e.luogo, c.luogo.sorgente, c.luogo.riga, c.luogo.elemento);
        EXPECT_EQ(k.s.codice_errore, c.codice_errore);
    }
}

TEST(StampErrors, WithoutRouteCellsNameNoLine) {
    stato_scenario s;
    s.voci[voce_scenario].intero1 = 1;
    ASSERT_EQ(timbra_scenario(s), std::optional<std::string>("1250"));
    ASSERT_EQ(s.errori.size(), 1u);
    EXPECT_FALSE(s.errori[0].luogo.valido);
    EXPECT_FALSE(s.errori[0].cella.has_value());
    EXPECT_EQ(s.codice_errore, 0);
}

// ---- an error the line phase left -------------------------------------------------

TEST(LinePhaseError15, KeepsItsOwnPlaceAndTheRunPhaseStopIsLoggedApart) {
    const std::string oltre = "pendenza, 16950, 5";  // line 4: beyond the 16900 m the route accepts
    struct caso {
        const char* nome;
        std::vector<std::string> corpo;
        std::string fermata;  // the run line the run phase stops at (line 4)
        int32_t posizione;
        el elemento;
    } casi[] = {
        {"signal", {oltre}, segnale(3650), 3650, el::segnale},
        {"slowdown", {oltre}, "rallentamento, 5000, 30, 300, 0, 0, 0", 5000, el::rallentamento},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const compilazione k(linea(c.corpo), corsa({alfa, c.fermata, segnale(9000)}));
        ASSERT_EQ(k.s.errori.size(), 2u);
        const errore_registrato& della_linea = k.s.errori[0];
        EXPECT_EQ(della_linea.codice, 15);
        EXPECT_EQ(della_linea.posizione, 16950);
        EXPECT_FALSE(della_linea.arresto_ereditato);
        atteso_luogo(della_linea.luogo, st::linea, 4, el::pendenza);

        const errore_registrato& arresto = k.s.errori[1];
        EXPECT_EQ(arresto.codice, 15);
        EXPECT_TRUE(arresto.con_posizione);
        EXPECT_EQ(arresto.posizione, c.posizione);
        EXPECT_TRUE(arresto.arresto_ereditato);
        atteso_luogo(arresto.luogo, st::corsa, 4, c.elemento);

        EXPECT_EQ(k.s.codice_errore, 15);
        EXPECT_EQ(k.s.posizione_errore, c.posizione);
        EXPECT_EQ(k.s.celle[181].tipo, tipo_cella::libera);  // the signal at 9000 m was never read
    }
}

TEST(LinePhaseError15, AnErrorOfTheStopLineItselfIsNotLoggedTwice) {
    // The signal's cell holds a speed board: its own error 16 takes the position.
    const compilazione k(linea({"indicatori_vmax, 3650, 75, 80, 80, 0, , , , 0", "pendenza, 16950, 5"}),
                         corsa({alfa, segnale(3650)}));
    ASSERT_EQ(k.s.errori.size(), 2u);
    EXPECT_EQ(k.s.errori[0].codice, 15);
    EXPECT_EQ(k.s.errori[0].posizione, 16950);
    EXPECT_EQ(k.s.errori[1].codice, 16);
    EXPECT_EQ(k.s.errori[1].posizione, 3650);
    EXPECT_FALSE(k.s.errori[1].arresto_ereditato);
    EXPECT_EQ(k.s.errori[1].cella, 74);
    atteso_luogo(k.origine(74), st::linea, 4, el::indicatore_vmax);
    EXPECT_EQ(k.s.codice_errore, 16);
    EXPECT_EQ(k.s.posizione_errore, 3650);
}

}  // namespace
}  // namespace scenario
