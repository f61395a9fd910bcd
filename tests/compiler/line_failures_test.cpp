// Read failures of the line description and memorizza_dati's single failure
// handler: error 25, both text sources removed, nothing written outside the state.
#include "compiler/errors.h"
#include "compiler/field_reader.h"
#include "compiler/read_sources.h"
#include "tests/compiler/line_test_support.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace scenario {
namespace {

using prova::descrizione;

std::string ripeti(const std::string& riga, int volte, int passo_metri, int da = 100) {
    std::string r;
    for (int i = 0; i < volte; ++i) {
        std::string x = riga;
        x.replace(x.find('#'), 1, std::to_string(da + i * passo_metri));
        r += x + "\r\n";
    }
    return r;
}

TEST(LineFailures, BadInputIsAReadFailure) {
    const std::string corto = "lunghezza percorso, 0\r\n";  // n_celle 140, plan points 0..7000
    struct caso {
        const char* nome;
        std::string testo;
    } casi[] = {
        {"empty file", ""},
        {"negative route length", descrizione("", "lunghezza percorso, -1\r\n")},
        {"no route length", descrizione("", "")},
        {"positioned line before the route length", descrizione("pendenza, 0, 1\r\n", "")},
        {"number beyond 32 bits", descrizione("pendenza, 99999999999, 1\r\n")},
        {"values missing at the end", "[generale]\r\nlunghezza percorso, 100\r\n[curve]\r\npendenza, 5"},
        {"81 tunnels", descrizione(ripeti("montagna, #, 0, 1", 81, 100))},
        {"tunnel before the route", descrizione("montagna, -100, 500, 1\r\n")},
        {"tunnel ending beyond the last cell", descrizione("montagna, 100, 7100, 1\r\n", corto)},
        {"curve ending beyond the plan", descrizione("curvad5, 6900, 101\r\n", corto)},
        {"speed board before the route", descrizione("indicatori_vmax, -50, 1, 1, 1, 0, 0, 0, 0, 0\r\n")},
        {"speed board beyond 16 bits", descrizione("indicatori_vmax, 400, 1638, 0, 0, 0, 40, 0, 0, 0\r\n")},
        {"name board before the route", descrizione("cartello_indicatore, -50, (X)\r\n")},
        {"81 name boards", descrizione(ripeti("cartello_indicatore, #, (X)", 81, 100))},
        {"name board text beyond 32767 bytes",
         descrizione("cartello_indicatore, 400, " + std::string(32768, 'x') + "\r\n")},
        {"gradient lines filling beyond the last cell",
         descrizione(ripeti("pendenza, #, 1", 141, 0, 50), corto)},
    };
    for (const caso& c : casi) {
        stato_scenario s;
        s.compila_linea = 1;
        sorgenti_in_memoria sorgenti(c.testo, std::nullopt);
        EXPECT_THROW(prova::leggi_linea(s, sorgenti), errore_lettura) << c.nome;
    }
}

TEST(LineFailures, LimitsThatStillFit) {
    const std::string corto = "lunghezza percorso, 0\r\n";
    struct caso {
        const char* nome;
        std::string testo;
    } casi[] = {
        {"80 tunnels", descrizione(ripeti("montagna, #, 0, 1", 80, 100))},
        {"80 name boards", descrizione(ripeti("cartello_indicatore, #, (X)", 80, 100))},
        {"tunnel ending on the last cell", descrizione("montagna, 100, 7050, 1\r\n", corto)},
        {"140 gradient lines and the end fill on 141 cells",
         descrizione(ripeti("pendenza, #, 1", 140, 0, 50), corto)},
        {"board text of 32767 bytes",
         descrizione("cartello_indicatore, 400, " + std::string(32767, 'x') + "\r\n")},
        {"binary bytes in unknown fields", descrizione(std::string("\x00\x01\xfe\xff,\x1a\r\n\x7f", 9))},
    };
    for (const caso& c : casi) {
        prova::lettura_linea l(c.testo);
        EXPECT_EQ(l.s.codice_errore, 0) << c.nome;
        EXPECT_TRUE(l.esito.prosegui) << c.nome;
    }
}

TEST(ReadingFailureHandler, RecordsError25AndRemovesBothSources) {
    stato_scenario s;
    s.compila_linea = 1;
    s.nome_scenario = "Calvena_Roccalba";
    s.numero_treno = "4127";
    s.posizione_errore = 1234;
    sorgenti_in_memoria sorgenti(
        std::string("[generale]\r\nlunghezza percorso, 100\r\n[curve]\r\npendenza, 5"),
        std::string("[generale]\r\n[fine]\r\n"));
    compile_log log;
    memorizza_dati(s, sorgenti, &log);
    EXPECT_EQ(s.codice_errore, 25);
    EXPECT_EQ(s.posizione_errore, 1234);
    EXPECT_FALSE(log.errors.back().has_position);
    EXPECT_EQ(log.read_failure, log.errors.back().detail);
    EXPECT_FALSE(sorgenti.esiste(sorgente_testo::linea));
    EXPECT_FALSE(sorgenti.esiste(sorgente_testo::corsa));
    EXPECT_EQ(s.voci[85].testo, "Calvena_Roccalba");
    EXPECT_EQ(s.voci[86].testo, "4127");
}

// Sources whose content cannot be read; removing one counts the calls.
class sorgenti_illeggibili final : public archivio_sorgenti {
public:
    bool esiste(sorgente_testo t) const override { return presente_[indice(t)]; }
    std::optional<std::string> leggi(sorgente_testo) override { return std::nullopt; }
    void elimina(sorgente_testo t) override {
        presente_[indice(t)] = false;
        ++eliminazioni;
    }
    bool presente_[2] = {true, false};  // no run description
    int eliminazioni = 0;

private:
    static int indice(sorgente_testo t) { return t == sorgente_testo::linea ? 0 : 1; }
};

TEST(ReadingFailureHandler, UnreadableSourceAndAMissingRunDescription) {
    stato_scenario s;
    sorgenti_illeggibili sorgenti;
    memorizza_dati(s, sorgenti);
    EXPECT_EQ(s.codice_errore, 25);
    EXPECT_FALSE(sorgenti.esiste(sorgente_testo::linea));
    EXPECT_EQ(sorgenti.eliminazioni, 1);  // only what exists is removed
}

TEST(MemorizzaDati, WhenTheRunPhaseFollows) {
    struct caso {
        const char* nome;
        std::optional<std::string> linea;
        int32_t errore;
        bool corsa_letta;  // the run phase ran (and removed its file)
    } casi[] = {
        {"normal end", descrizione(""), 0, true},
        {"error 15", descrizione("pendenza, 46950, 1\r\n"), 15, true},
        {"error 101", std::nullopt, 101, false},
        {"error 102", std::string("x\r\n"), 102, false},
        {"error 6", descrizione("cartello_indicatore, 400, (A)\r\ncartello_indicatore, 400, (B)\r\n"), 6,
         false},
    };
    for (const caso& c : casi) {
        stato_scenario s;
        s.compila_linea = 1;
        sorgenti_in_memoria sorgenti(c.linea, std::string("[generale]\r\n[fine]\r\n"));
        memorizza_dati(s, sorgenti);
        EXPECT_EQ(s.codice_errore, c.errore) << c.nome;
        EXPECT_EQ(sorgenti.esiste(sorgente_testo::corsa), !c.corsa_letta) << c.nome;
        EXPECT_FALSE(sorgenti.esiste(sorgente_testo::linea)) << c.nome;
    }
}

// Keyword-rich garbage: whatever the bytes, reading ends with an error number
// or none, and never leaves the arrays (the sanitizer build checks the last part).
TEST(MemorizzaDati, SurvivesGarbage) {
    const char* pezzi[] = {"pendenza",
                           "curvad5",
                           "curvas1",
                           "montagna",
                           "indicatori_vmax",
                           "cartello_indicatore",
                           "lunghezza percorso",
                           "[generale]",
                           "[curve]",
                           "-",
                           ",",
                           "\r\n",
                           "\r",
                           "\n",
                           " ",
                           "\"",
                           "0",
                           "50",
                           "-50",
                           "99999",
                           "2147483647",
                           "-2147483648",
                           "11",
                           "\x00",
                           "\xff",
                           "1000000",
                           "7000",
                           "150"};
    std::mt19937 caso(12345);
    std::uniform_int_distribution<std::size_t> scelta(0, std::size(pezzi) - 1);
    for (int prova_n = 0; prova_n < 1000; ++prova_n) {
        std::string testo = "[generale]\r\nlunghezza percorso, " + std::to_string(caso() % 3000) + "\r\n";
        const int lunghezza = int(caso() % 80);
        for (int i = 0; i < lunghezza; ++i) {
            const char* p = pezzi[scelta(caso)];
            testo += *p == '\0' ? std::string(1, '\0') : std::string(p);
        }
        stato_scenario s;
        s.compila_linea = int32_t(caso() % 2);
        sorgenti_in_memoria sorgenti(testo, std::string("[generale]\r\n[fine]\r\n"));
        memorizza_dati(s, sorgenti);
        ASSERT_FALSE(sorgenti.esiste(sorgente_testo::linea)) << testo;
    }
}

}  // namespace
}  // namespace scenario
