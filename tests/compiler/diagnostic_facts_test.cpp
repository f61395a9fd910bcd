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

using el = line_item;
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
    compile_log log;
    std::optional<error_code> arresto;

    compilazione(std::optional<std::string> l, std::optional<std::string> c) {
        s.nome_scenario = "Calvena_Roccalba";
        s.numero_treno = "4127";
        sorgenti_in_memoria sorgenti(std::move(l), std::move(c));
        arresto = compila_scenario(s, 0, sorgenti, {}, &log);
    }
    const source_place& origine(std::size_t c) const { return log.cell_origins.at(c); }
};

void atteso_luogo(const source_place& l, st sorgente, int32_t riga, el elemento) {
    EXPECT_TRUE(l.known);
    EXPECT_EQ(l.source, sorgente);
    EXPECT_EQ(l.line, riga);
    EXPECT_EQ(l.item, elemento);
}

// ---- why reading failed ---------------------------------------------------------

TEST(ReadFailures, KeepWhyReadingFailedAndTheLine) {
    struct caso {
        const char* nome;
        std::optional<std::string> linea;
        std::optional<std::string> corsa;
        const char* dettaglio;
        std::optional<source_place> luogo;  // none: no line was being read
    } casi[] = {
        {"file ends inside a line", linea(), righe({"[generale]", "segnale, 3650, 1"}),
         "the file ends before the values of this line are complete",
         source_place{true, st::corsa, 2, el::signal}},
        {"number beyond 32 bits", linea({"pendenza, 99999999999, 0"}), corsa({alfa}),
         "a number lies outside the 32-bit range", source_place{true, st::linea, 4, el::gradient}},
        {"number beyond a byte", linea(),
         corsa({"stazione, 0, 4, 600, 0,0,0, 1,1,0, 4,1,1, 300, 16,20,0, ALFA"}),
         "a number does not fit 0 to 255", source_place{true, st::corsa, 3, el::station}},
        {"number beyond 16 bits", linea(), corsa({"orologio, 70000, 0, 0"}), "a number does not fit 16 bits",
         source_place{true, st::corsa, 3, el::clock}},
        {"a reader's own failure", linea({"montagna, -100, 500, 1"}), corsa({alfa}),
         "the tunnel starts before the start of the route", source_place{true, st::linea, 4, el::tunnel}},
        {"no run description", linea(), std::nullopt, "the run description is missing", std::nullopt},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const compilazione k(c.linea, c.corsa);
        EXPECT_EQ(k.s.codice_errore, 25);
        EXPECT_EQ(k.s.posizione_errore, 0);  // a read failure leaves it as it was
        ASSERT_EQ(k.log.errors.size(), 1u);
        const logged_error& e = k.log.errors.back();
        EXPECT_NE(e.detail.find(c.dettaglio), std::string::npos) << e.detail;
        EXPECT_NE(messaggio_errore(e).find(e.detail), std::string::npos) << messaggio_errore(e);
        if (c.luogo) {
            atteso_luogo(e.place, c.luogo->source, c.luogo->line, c.luogo->item);
        } else {
            EXPECT_FALSE(e.place.known);
        }
    }
}

TEST(ReadFailures, OtherErrorsCarryNoReason) {
    const compilazione k(linea(), corsa({alfa, segnale(3650), segnale(3650)}));
    ASSERT_EQ(k.log.errors.size(), 1u);
    EXPECT_EQ(k.log.errors[0].number(), 16);
    EXPECT_EQ(k.log.errors[0].detail, "");
}

// ---- where the items in the cells came from -----------------------------------

TEST(CellOrigins, EveryItemNamesTheLineThatPlacedIt) {
    const compilazione k(
        linea({"indicatori_vmax, 400, 75, 80, 80, 0, , , , 0", "cartello_indicatore, 5750, (GALLERIA)",
               "montagna, 6000, 7000, 12"}),
        corsa({alfa, segnale(3350), "rallentamento, 5000, 30, 300, 0, 1, 0", "abbattimento, 8000, 5"}));
    const stato_scenario& s = k.s;
    ASSERT_EQ(s.codice_errore, 0) << messaggio_errore(k.log.errors.back());
    ASSERT_EQ(k.log.cell_origins.size(), s.celle.size());

    struct voce_attesa {
        std::size_t cella;
        uint8_t tipo;
        st sorgente;
        int32_t riga;
        el elemento;
    } attese[] = {
        {9, tipo_cella::indicatore_vmax, st::linea, 4, el::speed_board},
        {116, tipo_cella::cartello_galleria, st::linea, 5, el::tunnel_board},
        {123, tipo_cella::lampada_galleria, st::linea, 6, el::tunnel},
        {5, tipo_cella::fermata, st::corsa, 3, el::station},
        {68, tipo_cella::segnale, st::corsa, 4, el::signal},
        {101, tipo_cella::inizio_rallentamento, st::corsa, 5, el::slowdown},
        {107, tipo_cella::fine_rallentamento, st::corsa, 5, el::slowdown},
        {77, tipo_cella::avviso_rallentamento, st::corsa, 5, el::slowdown},
        {73, tipo_cella::approccio_rallentamento, st::corsa, 5, el::slowdown},
        {160, tipo_cella::segno, st::corsa, 6, el::abbattimento},
        // The sweep's marks keep the origin of what they serve: the signal
        // behind the advance point, the slowdown's approach.
        {67, tipo_cella::segno, st::corsa, 4, el::signal},
        {96, tipo_cella::segno, st::corsa, 5, el::slowdown},
    };
    for (const voce_attesa& a : attese) {
        SCOPED_TRACE(a.cella);
        EXPECT_EQ(s.celle[a.cella].tipo, a.tipo);
        atteso_luogo(k.origine(a.cella), a.sorgente, a.riga, a.elemento);
    }
    for (std::size_t c = 0; c < s.celle.size(); ++c) {
        if (s.celle[c].tipo != tipo_cella::libera) {
            EXPECT_TRUE(k.log.cell_origins[c].known) << c;
        }
    }
    EXPECT_FALSE(k.origine(2).known);

    // The records read from a line name it too.
    atteso_luogo(k.log.record_origins[1], st::corsa, 3, el::station);
    atteso_luogo(k.log.record_origins[prima_voce_cartelli], st::linea, 5, el::tunnel_board);
}

TEST(CellOrigins, AStopCellThatReplacesABoardTakesTheStationsLine) {
    // The stop cell of BETA (area 7800 to 8200 m) is cell 163, where the board stood.
    const compilazione k(linea({"cartello_indicatore, 8100, (G)"}), corsa({alfa, beta}));
    EXPECT_EQ(k.s.celle[163].tipo, tipo_cella::fermata);
    atteso_luogo(k.origine(163), st::corsa, 4, el::station);
}

TEST(CellOrigins, ACompileStartsWithoutTheOriginsOfTheLastOne) {
    stato_scenario s;
    s.nome_scenario = "N";
    s.numero_treno = "1";
    compile_log log;
    sorgenti_in_memoria prima(linea(), corsa({alfa, beta, segnale(3650)}));
    ASSERT_EQ(compila_scenario(s, 0, prima, {}, &log), std::nullopt);
    ASSERT_TRUE(log.cell_origins.at(74).known);
    ASSERT_TRUE(log.record_origins[2].known);
    sorgenti_in_memoria seconda(linea(), corsa({alfa}));
    ASSERT_EQ(compila_scenario(s, 0, seconda, {}, &log), std::nullopt);
    EXPECT_FALSE(log.cell_origins.at(74).known);
    EXPECT_FALSE(log.record_origins[2].known);
}

// ---- errors found after reading ------------------------------------------------

TEST(SweepErrors, NameTheSignalOrSlowdownTheyConcern) {
    const std::string lento = "rallentamento, 5000, 30, 300, 0, 0, 0";
    struct caso {
        error_code codice;
        std::vector<std::string> corsa;
        int32_t posizione;
        int32_t cella;  // of the signal or slowdown start served
        int32_t riga;
        el elemento;
    } casi[] = {
        {error_code::signal_mark_no_free_cell,
         {alfa, segnale(3350), segnale(3400), segnale(3450), lento},
         3500,
         70,
         6,
         el::signal},
        {error_code::approach_mark_no_free_cell,
         {alfa, segnale(4650), segnale(4700), segnale(4750), lento},
         5050,
         101,
         7,
         el::slowdown},
        {error_code::repeat_mark_no_free_cell,
         {alfa, segnale(5350), segnale(5400), segnale(5450), "rallentamento, 5000, 30, 1000, 0, 0, 0"},
         5450,
         101,
         7,
         el::slowdown},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(error_number(c.codice));
        const compilazione k(linea(), corsa(c.corsa));
        ASSERT_EQ(k.log.errors.size(), 1u);
        const logged_error& e = k.log.errors[0];
        EXPECT_EQ(e.code, c.codice);
        EXPECT_EQ(e.position, c.posizione);
        EXPECT_EQ(e.cell, c.cella);
        atteso_luogo(e.place, st::corsa, c.riga, c.elemento);
        EXPECT_EQ(k.s.codice_errore, error_number(c.codice));
        EXPECT_EQ(k.s.posizione_errore, c.posizione);
    }
}

TEST(StampErrors, AreLoggedWithTheItemInCellOneAndLeaveTheRecordAlone) {
    struct caso {
        const char* nome;
        std::string linea;
        std::string corsa;
        error_code arresto;
        int32_t codice_errore;  // what the record holds: the readers' last error
        source_place luogo;
    } casi[] = {
        {"signal in cell 1", linea(), corsa({alfa, segnale(0)}), error_code::identity_stamp_in_use, 0,
         source_place{true, st::corsa, 4, el::signal}},
        {"after a reader error", linea(), corsa({alfa, segnale(0), segnale(3650), segnale(3650)}),
         error_code::identity_stamp_in_use, 16, source_place{true, st::corsa, 4, el::signal}},
        {"speed board in cell 1", linea({"indicatori_vmax,  0,  0, 1, 0, 0, 0, 0, 0, 0"}), corsa({alfa}),
         error_code::competition_code_stamp_in_use, 0, source_place{true, st::linea, 4, el::speed_board}},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const compilazione k(c.linea, c.corsa);
        ASSERT_EQ(k.arresto, c.arresto);
        ASSERT_FALSE(k.log.errors.empty());
        const logged_error& e = k.log.errors.back();
        EXPECT_EQ(e.code, c.arresto);
        EXPECT_EQ(error_severity_of(e.code), error_severity::fatal);
        EXPECT_FALSE(e.has_position);
        EXPECT_EQ(e.cell, 1);
        atteso_luogo(e.place, c.luogo.source, c.luogo.line, c.luogo.item);
        EXPECT_EQ(k.s.codice_errore, c.codice_errore);
    }
}

TEST(StampErrors, WithoutRouteCellsNameNoLine) {
    stato_scenario s;
    s.voci[voce_scenario].intero1 = 1;
    compile_log log;
    ASSERT_EQ(timbra_scenario(s, &log), error_code::identity_stamp_in_use);
    ASSERT_EQ(log.errors.size(), 1u);
    EXPECT_FALSE(log.errors[0].place.known);
    EXPECT_FALSE(log.errors[0].cell.has_value());
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
        {"signal", {oltre}, segnale(3650), 3650, el::signal},
        {"slowdown", {oltre}, "rallentamento, 5000, 30, 300, 0, 0, 0", 5000, el::slowdown},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const compilazione k(linea(c.corpo), corsa({alfa, c.fermata, segnale(9000)}));
        ASSERT_EQ(k.log.errors.size(), 2u);
        const logged_error& della_linea = k.log.errors[0];
        EXPECT_EQ(della_linea.number(), 15);
        EXPECT_EQ(della_linea.position, 16950);
        EXPECT_FALSE(della_linea.inherited_stop);
        atteso_luogo(della_linea.place, st::linea, 4, el::gradient);

        const logged_error& arresto = k.log.errors[1];
        EXPECT_EQ(arresto.number(), 15);
        EXPECT_TRUE(arresto.has_position);
        EXPECT_EQ(arresto.position, c.posizione);
        EXPECT_TRUE(arresto.inherited_stop);
        atteso_luogo(arresto.place, st::corsa, 4, c.elemento);

        EXPECT_EQ(k.s.codice_errore, 15);
        EXPECT_EQ(k.s.posizione_errore, c.posizione);
        EXPECT_EQ(k.s.celle[181].tipo, tipo_cella::libera);  // the signal at 9000 m was never read
    }
}

TEST(LinePhaseError15, AnErrorOfTheStopLineItselfIsNotLoggedTwice) {
    // The signal's cell holds a speed board: its own error 16 takes the position.
    const compilazione k(linea({"indicatori_vmax, 3650, 75, 80, 80, 0, , , , 0", "pendenza, 16950, 5"}),
                         corsa({alfa, segnale(3650)}));
    ASSERT_EQ(k.log.errors.size(), 2u);
    EXPECT_EQ(k.log.errors[0].number(), 15);
    EXPECT_EQ(k.log.errors[0].position, 16950);
    EXPECT_EQ(k.log.errors[1].number(), 16);
    EXPECT_EQ(k.log.errors[1].position, 3650);
    EXPECT_FALSE(k.log.errors[1].inherited_stop);
    EXPECT_EQ(k.log.errors[1].cell, 74);
    atteso_luogo(k.origine(74), st::linea, 4, el::speed_board);
    EXPECT_EQ(k.s.codice_errore, 16);
    EXPECT_EQ(k.s.posizione_errore, 3650);
}

}  // namespace
}  // namespace scenario
