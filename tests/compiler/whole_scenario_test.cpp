// The program's own scenario compiled from its own text sources, in memory, and
// checked in the three compiled files as the simulator would read them back.
#include "common/line_list.h"
#include "compiler/compile_driver.h"
#include "compiler/compiled_files.h"
#include "compiler/errors.h"
#include "sources/writers.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace scenario {
namespace {

struct file_decodificati {
    std::string linea_grezza;
    std::string corsa_grezza;
    std::string celle_grezze;
    tracciato_linea tracciato;
    std::array<voce, numero_voci> voci{};
    std::vector<cella> celle;
    std::vector<std::string> errori;
};

class WholeScenario : public testing::Test {
protected:
    static void SetUpTestSuite() {
        f_ = std::make_unique<file_decodificati>();
        stato_scenario s;
        s.nome_scenario = "Calvena_Roccalba";
        s.numero_treno = "4127";
        sorgenti_in_memoria sorgenti(testo_lista(sorgenti::righe_linea()),
                                     testo_lista(sorgenti::righe_treno()));
        compile_log log;
        timbro_ = compila_scenario(s, 1, sorgenti, {}, &log);
        codice_errore_ = s.codice_errore;
        for (const logged_error& e : log.errors)
            f_->errori.push_back(messaggio_errore(e));
        sorgenti_eliminate_ =
            !sorgenti.esiste(sorgente_testo::linea) && !sorgenti.esiste(sorgente_testo::corsa);

        f_->linea_grezza = codifica_tracciato(s.tracciato);
        f_->corsa_grezza = codifica_voci(s.voci);
        f_->celle_grezze = codifica_celle(s.celle);
        esiti_[0] = decodifica_tracciato(f_->linea_grezza, f_->tracciato);
        esiti_[1] = decodifica_voci(f_->corsa_grezza, f_->voci);
        esiti_[2] = decodifica_celle(f_->celle_grezze, f_->celle);
    }
    static void TearDownTestSuite() { f_.reset(); }

    static const cella& c(int i) { return f_->celle.at(static_cast<std::size_t>(i)); }
    static const voce& v(int i) { return f_->voci.at(static_cast<std::size_t>(i)); }
    static double x(int32_t p) { return f_->tracciato.at(p, 0).numero(); }
    static double y(int32_t p) { return f_->tracciato.at(p, 1).numero(); }

    static inline std::unique_ptr<file_decodificati> f_;
    static inline std::optional<error_code> timbro_;
    static inline int32_t codice_errore_ = -1;
    static inline bool sorgenti_eliminate_ = false;
    static inline result<void, errore_decodifica> esiti_[3];
};

TEST_F(WholeScenario, CompilesCleanlyAndTheFilesDecode) {
    EXPECT_EQ(timbro_, std::nullopt);
    EXPECT_EQ(codice_errore_, 0);
    EXPECT_TRUE(f_->errori.empty()) << f_->errori.front();
    EXPECT_TRUE(sorgenti_eliminate_);
    for (const result<void, errore_decodifica>& e : esiti_)
        EXPECT_TRUE(e.ok()) << e.error().offset << ": " << e.error().messaggio;
}

TEST_F(WholeScenario, FileSizes) {
    EXPECT_EQ(f_->linea_grezza.size(), 939964u);
    EXPECT_EQ(f_->celle_grezze.size(), 14115u);
    std::size_t testi = 0;
    for (const voce& x : f_->voci)
        testi += x.testo.size();
    EXPECT_EQ(f_->corsa_grezza.size(), 87 * 34 + testi);
    ASSERT_EQ(f_->celle.size(), 941u);
    ASSERT_EQ(f_->tracciato.ultimo_punto, 47000);
}

TEST_F(WholeScenario, TrackPlan) {
    const std::string inizio = f_->linea_grezza.substr(0, 10);
    EXPECT_EQ(inizio, std::string("\x02\x00\x00\x00\x02\x00\x00\x00\x05\x00", 10));
    for (int32_t p : {2, 3, 200, 400}) {
        EXPECT_EQ(x(p), 0.0) << p;
        EXPECT_EQ(y(p), p) << p;
    }
    EXPECT_EQ(x(401), 0.002);
    EXPECT_EQ(y(401), 401.0);
    EXPECT_NEAR(x(402), 0.006, 1e-12);
    EXPECT_NEAR(y(402), 401.999996, 1e-9);
    // From point 401 to 950 the heading turns by 550 x 0.002 rad towards +x.
    const double svolta = std::atan2(x(951) - x(950), y(951) - y(950));
    EXPECT_NEAR(svolta, 1.1, 1e-3);
    for (int32_t p : {46999, 47000}) {
        EXPECT_EQ(f_->tracciato.at(p, 0).tipo, valore_tracciato::etichetta::vuoto);
        EXPECT_EQ(f_->tracciato.at(p, 1).tipo, valore_tracciato::etichetta::vuoto);
    }
}

TEST_F(WholeScenario, BoardsFromTheLineDescription) {
    EXPECT_EQ(c(116).tipo, tipo_cella::cartello_galleria);
    EXPECT_EQ(c(116).dato1, 80);
    EXPECT_FALSE(v(80).testo.empty());

    EXPECT_EQ(c(9).tipo, tipo_cella::indicatore_vmax);
    EXPECT_EQ(c(9).dato1, 1500);
    EXPECT_EQ(c(9).dato2, 1600);
    EXPECT_EQ(c(9).dato3, 1600);
    EXPECT_EQ(c(9).dato4, 0);
}

TEST_F(WholeScenario, RunParametersAndProfiles) {
    EXPECT_EQ(v(84).valore1, 120);  // braked mass
    EXPECT_EQ(v(84).valore2, 40000);
    EXPECT_EQ(v(84).valore3, 3);    // coaches
    EXPECT_EQ(v(86).intero1, 300);  // sand
    EXPECT_EQ(v(86).intero3, 16);
    EXPECT_EQ(v(86).intero4, 19);
    EXPECT_EQ(v(86).intero5, 30);
    for (int i = 0; i <= 937; ++i)
        ASSERT_EQ(c(i).velocita, 16) << i;
    for (int i = 938; i <= 940; ++i)
        EXPECT_EQ(c(i).velocita, 0) << i;
}

TEST_F(WholeScenario, SignalCell) {
    EXPECT_EQ(c(216).tipo, tipo_cella::segnale);
    EXPECT_EQ(c(216).dato1, 40);
    EXPECT_EQ(c(216).dato2, 10);
    EXPECT_EQ(c(216).dato3, 0);
    EXPECT_EQ(c(216).dato4, 6);
    EXPECT_EQ(c(216).dato5, 245);
    EXPECT_EQ(c(214).dato6, 61);
    EXPECT_EQ(c(212).dato6, 62);
    EXPECT_EQ(c(210).dato6, 63);
    EXPECT_EQ(c(208).dato6, 64);
}

TEST_F(WholeScenario, SlowdownCells) {
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(c(349 - k).tipo, tipo_cella::approccio_rallentamento);
        EXPECT_EQ(c(349 - k).dato1, k + 1);
    }
    EXPECT_EQ(c(350).tipo, tipo_cella::avviso_rallentamento);
    EXPECT_EQ(c(350).dato1, 30);
    for (int i : {374, 380, 681, 701}) {
        EXPECT_EQ(c(i).dato1, 30) << i;
        EXPECT_EQ(c(i).dato3, 0) << i;
    }
    EXPECT_EQ(c(374).tipo, tipo_cella::inizio_rallentamento);
    EXPECT_EQ(c(380).tipo, tipo_cella::fine_rallentamento);
    EXPECT_EQ(c(657).tipo, tipo_cella::avviso_rallentamento);
    EXPECT_EQ(c(681).tipo, tipo_cella::inizio_rallentamento);
    EXPECT_EQ(c(701).tipo, tipo_cella::fine_rallentamento);
    EXPECT_EQ(c(656).tipo, 0);  // no approach cells for the second slowdown
}

TEST_F(WholeScenario, MarksOfTheFinishingSweep) {
    // First slowdown (advance 350, start 374, end 380): the signal in 343 lies
    // within 1000 m behind the advance point; approach marks 250, 550 and 900 m
    // before the start; too short for a repeat mark. Second (657, 681, 701):
    // approach marks and repeat marks every 400 m. No signal within 600 m
    // after either end. The run has no abbattimento points, so every kind-12
    // cell is a mark of the sweep.
    std::vector<int> segni;
    for (int i = 0; i <= 940; ++i) {
        if (c(i).tipo != tipo_cella::segno)
            continue;
        segni.push_back(i);
        EXPECT_EQ(c(i).dato1, 180) << i;
    }
    EXPECT_EQ(segni, (std::vector<int>{342, 356, 363, 369, 663, 670, 676, 689, 697}));
}

TEST_F(WholeScenario, FirstStation) {
    const voce& calvena = v(1);
    EXPECT_EQ(calvena.testo, "CALVENA");
    EXPECT_EQ(calvena.tipo, 4);
    EXPECT_EQ(calvena.valore1, -300);
    EXPECT_EQ(calvena.valore2, 300);
    EXPECT_EQ(calvena.valore3, 0);
    EXPECT_EQ(calvena.valore4, 58800);
    EXPECT_EQ(calvena.byte4, 0);
    EXPECT_EQ(calvena.byte5, 0);
    EXPECT_EQ(c(5).tipo, tipo_cella::fermata);
    EXPECT_EQ(c(5).dato1, 1);
    EXPECT_EQ(c(4).dato6, 81);
    EXPECT_EQ(c(3).dato6, 82);
    EXPECT_EQ(c(2).dato6, 83);
    EXPECT_EQ(c(1).dato6, 0);
    int stazioni = 0;
    while (stazioni < 79 && !v(stazioni + 1).testo.empty())
        ++stazioni;
    EXPECT_EQ(stazioni, 12);
}

TEST_F(WholeScenario, IdentityStampsAndCompetitionCodes) {
    // Working text "4127calvena_roccalbaaabbc": plain sum 2343, weighted 32265.
    EXPECT_EQ(v(85).testo, "Calvena_Roccalba");
    EXPECT_EQ(v(86).testo, "4127");
    EXPECT_EQ(v(85).intero1, 610);
    EXPECT_EQ(v(85).valore4, 32265);
    EXPECT_EQ(c(1).dato1, 5121);
    EXPECT_EQ(c(1).dato2, 2343);
    EXPECT_EQ(f_->celle_grezze.substr(15, 5), std::string("\x00\x01\x14\x27\x09", 5));
}

}  // namespace
}  // namespace scenario
