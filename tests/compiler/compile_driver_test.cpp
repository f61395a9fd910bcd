#include "compiler/compile_driver.h"

#include "compiler/competition_codes.h"
#include "compiler/compiled_files.h"
#include "compiler/errors.h"
#include "compiler/read_sources.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace scenario {
namespace {

namespace fs = std::filesystem;

std::string righe(std::initializer_list<std::string_view> r) {
    std::string t;
    for (std::string_view x : r)
        (t += x) += "\r\n";
    return t;
}

// A 10 km line; `corpo` goes after the general section.
std::string linea(std::initializer_list<std::string_view> corpo = {}) {
    std::string t = righe({"[generale]", "lunghezza percorso,    10000", "[curve]"});
    for (std::string_view x : corpo)
        (t += x) += "\r\n";
    return t + "[fine]\r\n";
}

std::string corsa(std::initializer_list<std::string_view> corpo = {}) {
    std::string t = righe({"[generale]", "numero vetture,    3"});
    for (std::string_view x : corpo)
        (t += x) += "\r\n";
    return t + "[fine]\r\n";
}

stato_scenario nuovo_stato() {
    stato_scenario s;
    s.nome_scenario = "Calvena_Roccalba";
    s.numero_treno = "4127";
    return s;
}

// ---- stamps -------------------------------------------------------------------

TEST(Stamps, IdentityValuesAndCompetitionCodes) {
    stato_scenario s = nuovo_stato();
    s.voci[voce_scenario].testo = s.nome_scenario;
    s.voci[voce_identita_treno].testo = s.numero_treno;
    s.celle.resize(10);
    s.n_celle = 9;
    ASSERT_EQ(timbra_scenario(s), std::nullopt);
    EXPECT_EQ(s.voci[85].intero1, 610);
    EXPECT_EQ(s.voci[85].valore4, codice_gara_st(s));
    EXPECT_EQ(s.celle[1].dato1, 5121);
    EXPECT_EQ(s.celle[1].dato2, codice_gara_og(s));
    EXPECT_NE(s.celle[1].dato2, 0);
    EXPECT_EQ(s.celle[0].dato1, 0);
}

TEST(Stamps, ASlotInUseStopsTheStamp) {
    struct caso {
        const char* nome;
        void (*prepara)(stato_scenario&);
        std::optional<error_code> atteso;
    };
    const caso casi[] = {
        {"record 85 intero1", [](stato_scenario& s) { s.voci[85].intero1 = 1; },
         error_code::identity_stamp_in_use},
        {"cell 1 dato1", [](stato_scenario& s) { s.celle[1].dato1 = -3; }, error_code::identity_stamp_in_use},
        {"record 85 valore4", [](stato_scenario& s) { s.voci[85].valore4 = 7; },
         error_code::competition_code_stamp_in_use},
        {"cell 1 dato2", [](stato_scenario& s) { s.celle[1].dato2 = 20; },
         error_code::competition_code_stamp_in_use},
        {"cell 0 and 2 do not matter", [](stato_scenario& s) { s.celle[0].dato1 = s.celle[2].dato2 = 9; },
         std::nullopt},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        stato_scenario s = nuovo_stato();
        s.celle.resize(5);
        s.n_celle = 4;
        c.prepara(s);
        EXPECT_EQ(timbra_scenario(s), c.atteso);
    }
}

TEST(Stamps, WithoutRouteCellsOnlyTheRecordIsStamped) {
    for (std::size_t celle : {0u, 1u}) {
        stato_scenario s = nuovo_stato();
        s.celle.resize(celle);
        ASSERT_EQ(timbra_scenario(s), std::nullopt);
        EXPECT_EQ(s.voci[85].intero1, 610);
        EXPECT_EQ(s.voci[85].valore4, codice_gara_st(s));
        EXPECT_EQ(s.celle.size(), celle);
        if (celle == 1) {
            EXPECT_EQ(s.celle[0].dato1, 0);
        }
    }
}

// ---- the compile --------------------------------------------------------------

TEST(CompileScenario, StartsFromAClearedStateWhateverWasThere) {
    stato_scenario s = nuovo_stato();
    for (voce& v : s.voci) {
        v.valore1 = 99;
        v.testo = "left over";
        v.intero1 = 5;
    }
    s.codice_errore = 17;
    s.posizione_errore = 4000;
    compile_log log;
    log.errors.push_back({error_code::slowdown_advance_cell_taken, 4000, true, {}});
    s.celle.assign(3000, cella{12, 5121, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    s.n_celle = 2999;

    sorgenti_in_memoria sorgenti(linea(), corsa());
    ASSERT_EQ(compila_scenario(s, 7, sorgenti, {}, &log), std::nullopt);
    EXPECT_EQ(s.compila_linea, 7);
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(s.posizione_errore, 0);
    EXPECT_TRUE(log.errors.empty());
    EXPECT_EQ(s.voci[0].valore1, 0);
    EXPECT_EQ(s.voci[40].testo, "");
    EXPECT_EQ(s.voci[85].testo, "Calvena_Roccalba");
    EXPECT_EQ(s.voci[86].testo, "4127");
    EXPECT_EQ(s.voci[84].valore3, 3);  // read from the run description
    EXPECT_EQ(s.n_celle, 340);         // (10000 + 7000) / 50
    EXPECT_EQ(s.celle.size(), 341u);
    EXPECT_EQ(s.celle[1].dato1, 5121);
    EXPECT_EQ(s.celle[2].tipo, 0);
    EXPECT_FALSE(sorgenti.esiste(sorgente_testo::linea));
    EXPECT_FALSE(sorgenti.esiste(sorgente_testo::corsa));
}

TEST(CompileScenario, TheSweepWorksOnWhatTheReadersPlaced) {
    stato_scenario s = nuovo_stato();
    sorgenti_in_memoria sorgenti(linea(), corsa({"rallentamento,   5000,    30,  500, 0,  0,  0",
                                                 "segnale,    3500,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
                                                 "segnale,    5700,   1, 4, 1,  0, 0,    0,  0,0,0, 0"}));
    compile_log log;
    ASSERT_EQ(compila_scenario(s, 1, sorgenti, {}, &log), std::nullopt);
    ASSERT_EQ(s.codice_errore, 0) << (log.errors.empty() ? "" : messaggio_errore(log.errors.back()));
    std::vector<int32_t> segni;
    for (std::size_t c = 0; c < s.celle.size(); ++c)
        if (s.celle[c].tipo == tipo_cella::segno)
            segni.push_back(static_cast<int32_t>(c));
    // Advance 77, start 101, end 111; signals in 71 and 115.
    EXPECT_EQ(segni, (std::vector<int32_t>{70, 83, 90, 96, 109, 114}));
}

TEST(CompileScenario, ReadingErrorsDoNotStopTheCompile) {
    stato_scenario s = nuovo_stato();
    sorgenti_in_memoria sorgenti(linea({"pendenza,   99000,   5"}), corsa());
    ASSERT_EQ(compila_scenario(s, 1, sorgenti), std::nullopt);
    EXPECT_EQ(s.codice_errore, 15);
    EXPECT_EQ(s.posizione_errore, 99000);
    EXPECT_EQ(s.celle[1].dato1, 5121);
    EXPECT_EQ(s.voci[85].intero1, 610);
}

// ---- a limit on the track plan ------------------------------------------------

// The 10 km line needs (10000 + 7000) + 1 = 17001 plan points.
TEST(PlanLimit, StopsReadingBeforeARouteBeyondItAndSaysSo) {
    stato_scenario s = nuovo_stato();
    sorgenti_in_memoria sorgenti(linea({"curvad5,   400,   550"}), corsa());
    compile_log log;
    compile_options limitata;
    limitata.plan_point_limit = 17000;
    ASSERT_EQ(compila_scenario(s, 1, sorgenti, limitata, &log), std::nullopt);
    EXPECT_TRUE(log.plan_limit_reached);
    // Not an error of the sources: nothing is recorded.
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_TRUE(log.errors.empty());
    EXPECT_FALSE(s.celle_esistono());
    EXPECT_FALSE(s.tracciato.esiste());
    // Stamped as a compile without a route is.
    EXPECT_EQ(s.voci[85].intero1, 610);
    // The line description goes as after any stop of its reader; the run
    // description was not read and stays.
    EXPECT_FALSE(sorgenti.esiste(sorgente_testo::linea));
    EXPECT_TRUE(sorgenti.esiste(sorgente_testo::corsa));
}

TEST(PlanLimit, TheReadingReportsItWithOrWithoutALog) {
    compile_options limitata;
    limitata.plan_point_limit = 100;
    for (const bool con_log : {true, false}) {
        SCOPED_TRACE(con_log);
        stato_scenario s = nuovo_stato();
        s.compila_linea = 1;
        sorgenti_in_memoria sorgenti(linea(), corsa());
        compile_log log;
        EXPECT_EQ(memorizza_dati(s, sorgenti, con_log ? &log : nullptr, limitata),
                  reading_end::plan_limit_reached);
        EXPECT_EQ(log.plan_limit_reached, con_log);
    }
}

// Within the limit, or without a plan to build, the compile is the one made
// without a limit, byte for byte.
TEST(PlanLimit, ARouteWithinItCompilesAsWithoutIt) {
    struct caso {
        const char* nome;
        int32_t j;
        int32_t limite;
    };
    const caso casi[] = {
        {"exactly the plan's points", 1, 17001},
        {"far above", 1, 1000000},
        {"no plan built (j 0)", 0, 10},
    };
    const auto compila = [](int32_t j, const compile_options& o, stato_scenario& s, compile_log& log) {
        sorgenti_in_memoria sorgenti(linea({"curvad5,   400,   550", "pendenza,   550,   12"}),
                                     corsa({"segnale,    3650,   1, 4, 1,  0, 0,    0,  0,0,0, 0"}));
        const auto timbro = compila_scenario(s, j, sorgenti, o, &log);
        EXPECT_FALSE(sorgenti.esiste(sorgente_testo::corsa));
        return timbro;
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        stato_scenario libera = nuovo_stato(), limitata = nuovo_stato();
        compile_log log_libera, log_limitata;
        compile_options con_limite;
        con_limite.plan_point_limit = c.limite;
        ASSERT_EQ(compila(c.j, {}, libera, log_libera), std::nullopt);
        ASSERT_EQ(compila(c.j, con_limite, limitata, log_limitata), std::nullopt);
        EXPECT_FALSE(log_limitata.plan_limit_reached);
        EXPECT_EQ(limitata.codice_errore, 0);
        EXPECT_EQ(codifica_tracciato(limitata.tracciato), codifica_tracciato(libera.tracciato));
        EXPECT_EQ(codifica_voci(limitata.voci), codifica_voci(libera.voci));
        EXPECT_EQ(codifica_celle(limitata.celle), codifica_celle(libera.celle));
        EXPECT_EQ(limitata.tracciato.esiste(), c.j != 0);
    }
}

// ---- the whole compile, files included -------------------------------------------

class CompileAndWrite : public testing::Test {
protected:
    void SetUp() override {
        cartella_ = fs::temp_directory_path() /
                    ("compile_driver_test_" +
                     std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(cartella_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(cartella_, ec);
    }

    result<void, arresto_fatale> compila(int32_t j, std::string l, std::string c) {
        sorgenti_in_memoria sorgenti(std::move(l), std::move(c));
        return memorizza_percorso(s_, j, sorgenti, cartella_);
    }
    fs::path file(const char* nome) const { return cartella_ / nome; }
    static std::string contenuto(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> file_presenti() const {
        std::vector<std::string> r;
        for (const auto& e : fs::directory_iterator(cartella_))
            r.push_back(e.path().filename().string());
        std::sort(r.begin(), r.end());
        return r;
    }

    fs::path cartella_;
    stato_scenario s_ = nuovo_stato();
};

TEST_F(CompileAndWrite, WritesTheThreeFilesFromTheCompiledState) {
    ASSERT_TRUE(compila(1, linea(), corsa()).ok());
    EXPECT_EQ(file_presenti(),
              (std::vector<std::string>{"Calvena_Roccalba_4127.dat", "Calvena_Roccalba_4127.sim",
                                        "Calvena_Roccalba_linea.dat"}));
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_linea.dat")).size(), 20u * 17000 - 36);
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_4127.dat")).size(), 15u * 341);
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_4127.sim")), codifica_voci(s_.voci));
}

// Files for the simulator always hold the whole route, whatever the options say.
TEST_F(CompileAndWrite, APlanLimitIsNotAppliedWhenWriting) {
    compile_options limitata;
    limitata.plan_point_limit = 100;
    int32_t j = 1;
    sorgenti_in_memoria sorgenti(linea(), corsa());
    compile_log log;
    ASSERT_TRUE(memorizza_percorso(s_, j, sorgenti, cartella_, limitata, &log).ok());
    EXPECT_FALSE(log.plan_limit_reached);
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_linea.dat")).size(), 20u * 17000 - 36);
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_4127.dat")).size(), 15u * 341);
}

TEST_F(CompileAndWrite, StampErrorWritesNoCompiledFile) {
    struct caso {
        const char* nome;
        std::string linea;
        std::optional<error_code> atteso;
    };
    const caso casi[] = {
        // A tunnel-name board at 0 stands in cell 1 with its slot in dato1.
        {"cell 1 dato1 in use", linea({"cartello_indicatore,      0, (Galleria Uno)"}),
         error_code::identity_stamp_in_use},
        // A speed board at 0 with only its second value set fills dato2.
        {"cell 1 dato2 in use", linea({"indicatori_vmax,  0,  0, 1, 0, 0, 0, 0, 0, 0"}),
         error_code::competition_code_stamp_in_use},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::ofstream(file("Calvena_Roccalba_4127.dat"), std::ios::binary) << "previous cells";
        const auto compilato = compila(1, c.linea, corsa());
        ASSERT_FALSE(compilato.ok());
        EXPECT_EQ(compilato.error().perche, arresto_fatale::motivo::timbro);
        EXPECT_EQ(compilato.error().errore, c.atteso);
        EXPECT_EQ(file_presenti(), std::vector<std::string>{"Calvena_Roccalba_4127.dat"});
        EXPECT_EQ(contenuto(file("Calvena_Roccalba_4127.dat")), "previous cells");
    }
}

TEST_F(CompileAndWrite, WithoutTheLineFlagNoLineFileAndAnOldOneStays) {
    ASSERT_TRUE(compila(0, linea(), corsa()).ok());
    EXPECT_FALSE(fs::exists(file("Calvena_Roccalba_linea.dat")));
    EXPECT_FALSE(s_.tracciato.esiste());

    std::ofstream(file("Calvena_Roccalba_linea.dat"), std::ios::binary) << "old plan";
    ASSERT_TRUE(compila(0, linea(), corsa()).ok());
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_linea.dat")), "old plan");
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_4127.dat")).size(), 15u * 341);
}

TEST_F(CompileAndWrite, RunningTwiceGivesByteIdenticalFiles) {
    const std::string l =
        linea({"curvad5,   400,   550", "pendenza,  1000,  -12", "montagna,  2000,  2600, 12"});
    const std::string c = corsa({"rallentamento,   5000,    30,  500, 0,  1,  0",
                                 "segnale,    3500,   2, 4, 1,  0, 0,    0,  0,0,0, 245"});
    const char* nomi[] = {"Calvena_Roccalba_linea.dat", "Calvena_Roccalba_4127.sim",
                          "Calvena_Roccalba_4127.dat"};
    ASSERT_TRUE(compila(1, l, c).ok());
    std::vector<std::string> prima;
    for (const char* n : nomi)
        prima.push_back(contenuto(file(n)));
    // The same state compiled again: nothing of the first compile carries over.
    ASSERT_TRUE(compila(1, l, c).ok());
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(contenuto(file(nomi[i])), prima[i]) << nomi[i];
    EXPECT_EQ(file_presenti().size(), 3u);
}

TEST_F(CompileAndWrite, MissingLineDescriptionTouchesNoCellThatDoesNotExist) {
    sorgenti_in_memoria senza_linea(std::nullopt, corsa());
    int32_t j = 1;
    ASSERT_TRUE(memorizza_percorso(s_, j, senza_linea, cartella_).ok());
    EXPECT_EQ(s_.codice_errore, 101);
    EXPECT_TRUE(s_.celle.empty());
    EXPECT_EQ(s_.voci[85].intero1, 610);
    // The files of this compile replace the earlier ones: no route, no plan.
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_4127.dat")), "");
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_linea.dat")), "");
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_4127.sim")), codifica_voci(s_.voci));
}

TEST_F(CompileAndWrite, AFileThatCannotBeWrittenStopsTheRun) {
    fs::create_directory(file("Calvena_Roccalba_4127.sim"));
    const auto compilato = compila(1, linea(), corsa());
    ASSERT_FALSE(compilato.ok());
    const arresto_fatale& arresto = compilato.error();
    EXPECT_EQ(arresto.perche, arresto_fatale::motivo::file);
    EXPECT_EQ(arresto.guasto.file.filename(), "Calvena_Roccalba_4127.sim");
    EXPECT_EQ(arresto.guasto.step, replace_step::open);
    EXPECT_TRUE(arresto.guasto.cause) << "the system's error travels with the failure";
    EXPECT_TRUE(fs::exists(file("Calvena_Roccalba_linea.dat")));
    EXPECT_FALSE(fs::exists(file("Calvena_Roccalba_4127.dat")));
}

}  // namespace
}  // namespace scenario
