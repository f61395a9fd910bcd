// Form1 with a stand-in platform that records what the program shows.
#include "app/form.h"

#include "compiler/errors.h"

#include <gtest/gtest.h>
#include <ostream>
#include <stdlib.h>
#include <vector>

namespace scenario::piattaforma {
namespace {
struct registro_piattaforma {
    std::filesystem::path cartella;
    std::vector<std::string> messaggi;
    std::vector<std::string> note;
    bool finestra_aperta = false;
    bool file_prima_della_finestra = false;
};
registro_piattaforma registro;

class finestra_finta final : public finestra {
public:
    ~finestra_finta() override { registro.finestra_aperta = false; }
};
}  // namespace

std::filesystem::path cartella_programma() {
    return registro.cartella;
}

std::unique_ptr<finestra> mostra_finestra() {
    registro.finestra_aperta = true;
    registro.file_prima_della_finestra =
        !registro.cartella.empty() && !std::filesystem::is_empty(registro.cartella);
    return std::make_unique<finestra_finta>();
}

void mostra_messaggio(const std::string& testo) {
    registro.messaggi.push_back(testo);
}
void annota(const std::string& testo) {
    registro.note.push_back(testo);
}
std::string system_error_text(const std::error_code& cause) {
    return "[" + cause.message() + "]";
}

}  // namespace scenario::piattaforma

namespace scenario {
namespace {

using piattaforma::registro;

class FormRun : public ::testing::Test {
protected:
    void SetUp() override {
        registro = {};
        std::string modello = (std::filesystem::temp_directory_path() / "form-XXXXXX").string();
        ASSERT_NE(mkdtemp(modello.data()), nullptr);
        cartella_ = modello;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(cartella_, ec);
    }
    std::filesystem::path cartella_;
};

TEST_F(FormRun, ShowsTheWindowBeforeAnyFileAndClosesItAtTheEnd) {
    registro.cartella = cartella_;
    Form1 form;
    EXPECT_EQ(form.Form_Load(), program_exit_status::completed)
        << (registro.messaggi.empty() ? "" : registro.messaggi[0]);
    EXPECT_EQ(form.stato().nome_scenario, "Calvena_Roccalba");
    EXPECT_EQ(form.stato().numero_treno, "4127");
    EXPECT_FALSE(registro.file_prima_della_finestra);
    EXPECT_FALSE(registro.finestra_aperta);
    EXPECT_TRUE(registro.messaggi.empty());
    EXPECT_TRUE(registro.note.empty());
    EXPECT_TRUE(std::filesystem::exists(cartella_ / "Calvena_Roccalba_4127_scheda_treno.txt"));
}

TEST_F(FormRun, WithoutAProgramDirectoryStopsAndWritesNothing) {
    registro.cartella.clear();
    Form1 form;
    EXPECT_EQ(form.Form_Load(), program_exit_status::stopped);
    ASSERT_EQ(registro.messaggi.size(), 1u);
    EXPECT_NE(registro.messaggi[0].find("cartella"), std::string::npos);
    EXPECT_FALSE(registro.finestra_aperta);
}

// A writer's failure is worded in Italian with the platform's text for its cause.
TEST_F(FormRun, AWriterThatCannotReplaceItsFileStopsWithTheFileAndTheSystemsCause) {
    registro.cartella = cartella_;
    const auto bloccato = cartella_ / "Calvena_Roccalba_4127_note.txt";
    std::filesystem::create_directory(bloccato);
    Form1 form;
    EXPECT_EQ(form.Form_Load(), program_exit_status::stopped);
    ASSERT_EQ(registro.messaggi.size(), 1u);
    const std::string& m = registro.messaggi[0];
    EXPECT_EQ(m.rfind("Scenario non completato: impossibile aprire il file \"", 0), 0u) << m;
    EXPECT_NE(m.find(bloccato.string() + "\": ["), std::string::npos) << m;
    EXPECT_FALSE(std::filesystem::exists(cartella_ / "Calvena_Roccalba_4127_rallentamenti.txt"));
}

// What the compile left, and what the program shows and answers for it.
struct caso_compilazione {
    const char* nome;
    result<void, arresto_fatale> compilato;              // {}: the compile went through
    std::vector<std::pair<error_code, int32_t>> errori;  // code, position
    int stato;
    std::vector<std::string> messaggi;
    std::size_t note;
};

void PrintTo(const caso_compilazione& caso, std::ostream* out) {
    *out << caso.nome;
}

class CompileOutcome : public ::testing::TestWithParam<caso_compilazione> {
protected:
    void SetUp() override { registro = {}; }
};

TEST_P(CompileOutcome, IsShownAndEndsTheRunWithItsStatus) {
    const auto& caso = GetParam();
    Form1 form;
    for (auto [codice, posizione] : caso.errori)
        registra_errore(form.stato(), log_at{&form.log(), {}}, codice, posizione);

    EXPECT_EQ(form.riporta_compilazione(caso.compilato), caso.stato);
    EXPECT_EQ(registro.messaggi, caso.messaggi);
    ASSERT_EQ(registro.note.size(), caso.note);
    for (std::size_t i = 0; i < caso.note; ++i)
        EXPECT_EQ(registro.note[i], messaggio_errore(form.log().errors[i]));
}

using motivo = arresto_fatale::motivo;
INSTANTIATE_TEST_SUITE_P(
    Cases, CompileOutcome,
    ::testing::Values(
        caso_compilazione{"Clean", {}, {}, program_exit_status::completed, {}, 0},
        caso_compilazione{"Stamp1250",
                          failure{arresto_fatale{motivo::timbro, error_code::identity_stamp_in_use, {}}},
                          {},
                          program_exit_status::stopped,
                          {" Errore n. 1250"},
                          0},
        caso_compilazione{
            "Stamp1251",
            failure{arresto_fatale{motivo::timbro, error_code::competition_code_stamp_in_use, {}}},
            {{error_code::signal_cell_taken, 3650}},
            program_exit_status::stopped,
            {" Errore n. 1251"},
            0},
        caso_compilazione{
            "FileFailure",
            failure{arresto_fatale{
                motivo::file, error_code::none,
                file_failure{replace_step::write, "x.dat", std::make_error_code(std::errc::file_too_large)}}},
            {},
            program_exit_status::stopped,
            // The cause in the system's own words (the platform layer's, here the test's).
            {"Scenario non completato: impossibile scrivere il file \"x.dat\": [" +
             std::make_error_code(std::errc::file_too_large).message() + "]"},
            0},
        caso_compilazione{
            "RecordedErrors",
            {},
            {{error_code::signal_cell_taken, 3650}, {error_code::approach_mark_no_free_cell, 5000}},
            program_exit_status::written_with_errors,
            {},
            2}),
    [](const auto& caso) { return std::string(caso.param.nome); });

}  // namespace
}  // namespace scenario
