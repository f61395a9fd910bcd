// The program's own run description, read after its own line description.
#include "common/line_list.h"
#include "compiler/errors.h"
#include "compiler/read_sources.h"
#include "sources/writers.h"
#include "tests/compiler/run_test_state.h"
#include "tests/support/route_fixtures.h"

#include <gtest/gtest.h>
#include <string>

namespace scenario {
namespace {

using prova::cella_n;
using prova::voce_n;

void verifica_corsa_del_programma(stato_scenario& s) {
    const std::vector<std::string>& nomi = test_support::program_stations();
    for (int32_t i = 1; i <= 12; ++i)
        EXPECT_EQ(voce_n(s, i).testo, nomi[static_cast<std::size_t>(i - 1)]) << "slot " << i;
    EXPECT_EQ(voce_n(s, 13).testo, "");
    EXPECT_EQ(voce_n(s, 1).valore4, 58800);
    EXPECT_EQ(cella_n(s, 5).tipo, tipo_cella::fermata);

    EXPECT_EQ(voce_n(s, 84).valore1, 120);
    EXPECT_EQ(voce_n(s, 84).valore3, 3);
    EXPECT_EQ(voce_n(s, 86).intero1, 300);
    EXPECT_EQ(voce_n(s, 86).intero3, 16);
    EXPECT_EQ(voce_n(s, 86).intero4, 19);
    EXPECT_EQ(voce_n(s, 86).intero5, 30);

    ASSERT_EQ(s.n_celle, 940);
    for (int32_t i = 0; i <= s.n_celle - 3; ++i)
        ASSERT_EQ(cella_n(s, i).velocita, 16) << "cell " << i;
    for (int32_t i = s.n_celle - 2; i <= s.n_celle; ++i)
        EXPECT_EQ(cella_n(s, i).velocita, 0) << "cell " << i;

    const std::pair<int32_t, uint8_t> aderenze[] = {{0, 100},  {79, 100}, {80, 85},  {115, 85}, {116, 70},
                                                    {126, 70}, {127, 85}, {194, 75}, {200, 85}, {237, 70},
                                                    {292, 85}, {723, 85}, {724, 95}, {937, 95}, {938, 0}};
    for (const auto& [i, a] : aderenze)
        EXPECT_EQ(cella_n(s, i).aderenza, a) << "cell " << i;

    EXPECT_EQ(cella_n(s, 216).tipo, tipo_cella::segnale);
    EXPECT_EQ(cella_n(s, 216).dato5, 245);
    EXPECT_EQ(cella_n(s, 74).tipo, tipo_cella::segnale);
    EXPECT_EQ(cella_n(s, 346).tipo, tipo_cella::approccio_rallentamento);
    EXPECT_EQ(cella_n(s, 350).tipo, tipo_cella::avviso_rallentamento);
    EXPECT_EQ(cella_n(s, 374).tipo, tipo_cella::inizio_rallentamento);
    EXPECT_EQ(cella_n(s, 380).tipo, tipo_cella::fine_rallentamento);
    EXPECT_EQ(cella_n(s, 657).tipo, tipo_cella::avviso_rallentamento);
    EXPECT_EQ(cella_n(s, 681).tipo, tipo_cella::inizio_rallentamento);
    EXPECT_EQ(cella_n(s, 701).tipo, tipo_cella::fine_rallentamento);
}

TEST(RunProgram, ReadOnItsOwn) {
    const std::string corsa = testo_lista(sorgenti::righe_treno());
    if (corsa.empty())
        GTEST_SKIP() << "the run description content is not there yet";
    stato_scenario s = prova::stato_percorso();
    compile_log log;
    EXPECT_TRUE(prova::leggi_corsa(s, corsa, prima_voce_cartelli, &log));
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_TRUE(log.errors.empty());
    verifica_corsa_del_programma(s);
}

TEST(RunProgram, ReadAfterTheLineDescription) {
    const std::string linea = testo_lista(sorgenti::righe_linea());
    const std::string corsa = testo_lista(sorgenti::righe_treno());
    if (linea.empty() || corsa.empty())
        GTEST_SKIP() << "the text source content is not there yet";
    stato_scenario s;
    s.nome_scenario = "Calvena_Roccalba";
    s.numero_treno = "4127";
    s.compila_linea = 1;
    sorgenti_in_memoria sorgenti(linea, corsa);
    compile_log log;
    memorizza_dati(s, sorgenti, &log);
    EXPECT_EQ(s.codice_errore, 0);
    for (const logged_error& e : log.errors)
        ADD_FAILURE() << messaggio_errore(e);
    EXPECT_FALSE(sorgenti.esiste(sorgente_testo::linea));
    EXPECT_FALSE(sorgenti.esiste(sorgente_testo::corsa));
    verifica_corsa_del_programma(s);
}

}  // namespace
}  // namespace scenario
