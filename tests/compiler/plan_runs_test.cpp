// A plan kept point by point and a plan kept as its runs of steps write the
// same line file, and storage compiled into again never carries points over.
#include "common/line_list.h"
#include "compiler/compile_driver.h"
#include "compiler/compiled_files.h"
#include "compiler/route_facts.h"
#include "sources/writers.h"
#include "tests/compiler/line_test_support.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scenario {
namespace {

using prova::descrizione;

// A run description with nothing in it: the plan is the line's alone.
const std::string corsa_vuota = "[generale]\r\n[fine]\r\n";

// What a compile leaves for the simulator, and the plan's points when kept.
struct esito_compilazione {
    int32_t codice_errore = 0;
    std::string linea, corsa, celle;
    int64_t ultimo_calcolato = -1;
    tracciato_linea tracciato;
};

esito_compilazione compila(stato_scenario& s, const std::string& linea, const std::string& corsa,
                           bool keep_points) {
    s.nome_scenario = "Calvena_Roccalba";
    s.numero_treno = "4127";
    sorgenti_in_memoria sorgenti(linea, corsa);
    compile_options opzioni;
    opzioni.keep_plan_points = keep_points;
    (void)compila_scenario(s, 1, sorgenti, opzioni, nullptr);
    esito_compilazione e;
    e.codice_errore = s.codice_errore;
    e.linea = codifica_tracciato(s.tracciato);
    e.corsa = codifica_voci(s.voci);
    e.celle = codifica_celle(s.celle);
    e.ultimo_calcolato = route::last_plan_point(s.tracciato);
    e.tracciato = s.tracciato;
    return e;
}

esito_compilazione compila_da_zero(const std::string& linea, const std::string& corsa, bool keep_points) {
    stato_scenario s;
    return compila(s, linea, corsa, keep_points);
}

// Value by value: the tag, then the integer or the double's very bits.
void stessi_valori(const tracciato_linea& a, const tracciato_linea& b) {
    ASSERT_EQ(a.ultimo_punto, b.ultimo_punto);
    ASSERT_EQ(a.valori.size(), b.valori.size());
    for (std::size_t i = 0; i < a.valori.size(); ++i) {
        const valore_tracciato& va = a.valori[i];
        const valore_tracciato& vb = b.valori[i];
        ASSERT_EQ(va.tipo, vb.tipo) << "value " << i;
        if (va.tipo == valore_tracciato::etichetta::intero) {
            ASSERT_EQ(va.intero, vb.intero) << "value " << i;
        }
        if (va.tipo == valore_tracciato::etichetta::reale) {
            ASSERT_EQ(std::memcmp(&va.reale, &vb.reale, sizeof va.reale), 0) << "value " << i;
        }
    }
}

void stessi_file(const esito_compilazione& a, const esito_compilazione& b) {
    EXPECT_EQ(a.codice_errore, b.codice_errore);
    EXPECT_EQ(a.ultimo_calcolato, b.ultimo_calcolato);
    EXPECT_TRUE(a.linea == b.linea) << "line files of " << a.linea.size() << " and " << b.linea.size()
                                    << " bytes differ";
    EXPECT_EQ(a.corsa, b.corsa);
    EXPECT_EQ(a.celle, b.celle);
}

struct caso_piano {
    const char* nome;
    std::string linea;
    int32_t codice_errore;
    int64_t ultimo_calcolato;  // the last point holding a value
};

std::vector<caso_piano> casi_piano() {
    return {
        {"the program's own line", testo_lista(sorgenti::righe_linea()), 0, 46998},
        // Straight on from point 2, or a curve first: both reach the third-last point.
        {"no curve", descrizione(""), 0, 46998},
        // A curve that ends on the last point assigns the last two points too.
        {"curve to the very end", descrizione("curvad4, 7900, 100\r\n", "lunghezza percorso, 1000\r\n"), 0,
         8000},
        // A negative length: only the run-in. A start below w: no run-in.
        {"odd curves",
         descrizione("curvas6, 300, -50\r\ncurvad5, 200, 400\r\ncurvad1, 650, 0\r\n",
                     "lunghezza percorso, 1000\r\n"),
         0, 7998},
        // Points up to the failing line stay; the rest stays empty.
        {"curve error",
         descrizione("curvad4, 100, 200\r\ncurva, 500, 10\r\n", "lunghezza percorso, 1000\r\n"), 103, 300},
        // The plan is made, then reading fails before its first two points are set.
        {"read failure before the first points",
         descrizione("", "lunghezza percorso, 1000\r\nprogressiva chilometrica uno, 0, 2147483600, 1\r\n"),
         25, -1},
        // The limit on curve points stops the run at the limit's point.
        {"curve beyond the limit", descrizione("curvas2, 999990, 100\r\n", "lunghezza percorso, 1000000\r\n"),
         103, 1000000},
    };
}

TEST(PlanRuns, KeptOrNotThePlanWritesTheSameLineFile) {
    for (const caso_piano& c : casi_piano()) {
        SCOPED_TRACE(c.nome);
        const esito_compilazione punti = compila_da_zero(c.linea, corsa_vuota, true);
        const esito_compilazione tratti = compila_da_zero(c.linea, corsa_vuota, false);
        EXPECT_EQ(punti.codice_errore, c.codice_errore);
        EXPECT_EQ(punti.ultimo_calcolato, c.ultimo_calcolato);
        EXPECT_TRUE(tratti.tracciato.valori.empty());
        EXPECT_EQ(line_file_bytes(tratti.tracciato), tratti.linea.size());
        EXPECT_EQ(line_file_bytes(punti.tracciato), punti.linea.size());
        stessi_file(punti, tratti);

        // Handed over in pieces of at most plan_piece_bytes, in order.
        std::string pezzi;
        std::size_t piu_grande = 0;
        encode_plan_in_pieces(tratti.tracciato, [&](std::string_view p) {
            piu_grande = std::max(piu_grande, p.size());
            pezzi.append(p);
        });
        EXPECT_LE(piu_grande, plan_piece_bytes);
        EXPECT_TRUE(pezzi == tratti.linea);
    }
}

// A long route, then a short one that stops on a curve error, compiled into
// the same state: the second compile matches a fresh one, whichever way each
// keeps its plan.
TEST(PlanRuns, StorageCompiledIntoAgainHoldsNothingOfTheEarlierRoute) {
    const std::string corsa = corsa_vuota;
    const std::string lunga = descrizione("curvad4, 100, 900000\r\n", "lunghezza percorso, 950000\r\n");
    const std::string corta =
        descrizione("curvad4, 100, 200\r\ncurva, 500, 10\r\n", "lunghezza percorso, 1000\r\n");
    for (const bool prima_con_punti : {true, false}) {
        for (const bool poi_con_punti : {true, false}) {
            SCOPED_TRACE(std::string(prima_con_punti ? "points" : "runs") + " then " +
                         (poi_con_punti ? "points" : "runs"));
            stato_scenario s;
            const esito_compilazione primo = compila(s, lunga, corsa, prima_con_punti);
            ASSERT_EQ(primo.ultimo_calcolato, 956998);
            const esito_compilazione secondo = compila(s, corta, corsa, poi_con_punti);
            const esito_compilazione nuovo = compila_da_zero(corta, corsa, poi_con_punti);
            EXPECT_EQ(secondo.codice_errore, 103);
            stessi_file(secondo, nuovo);
            stessi_valori(secondo.tracciato, nuovo.tracciato);
            EXPECT_EQ(secondo.tracciato.runs.size(), nuovo.tracciato.runs.size());
        }
    }
}

}  // namespace
}  // namespace scenario
