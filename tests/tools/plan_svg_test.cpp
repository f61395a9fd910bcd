// `scenario plan`: the SVG must be well-formed XML and show what a person
// looks for: the twelve station names, the signals and the slowdowns.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tests/support/files.h"
#include "tools/command_line.h"
#include "tools/compile_command.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace scenario::tool {
namespace {

namespace fs = std::filesystem;
using strumento::compila_sorgenti;
using strumento::esito_compilazione;
using strumento::richiesta_compilazione;
using test_support::read_file;
using test_support::write_file;

// A small XML reader: checks that tags nest and close, attributes are quoted
// and entities are known, and gathers the elements with their text.
struct elemento_xml {
    std::string nome;
    std::map<std::string, std::string> attributi;
    std::string testo;
    std::vector<std::string> antenati;
};

class lettore_xml {
public:
    explicit lettore_xml(std::string t) : t_(std::move(t)) {}

    // Empty when the document is well-formed; else what is wrong and where.
    std::string leggi(std::vector<elemento_xml>& elementi) {
        std::vector<std::size_t> aperti;
        bool radice_chiusa = false;
        while (i_ < t_.size()) {
            if (t_.compare(i_, 5, "<?xml") == 0) {
                const std::size_t f = t_.find("?>", i_);
                if (f == std::string::npos)
                    return errore("unterminated declaration");
                i_ = f + 2;
            } else if (t_.compare(i_, 2, "</") == 0) {
                const std::size_t f = t_.find('>', i_);
                if (f == std::string::npos)
                    return errore("unterminated end tag");
                const std::string nome = t_.substr(i_ + 2, f - i_ - 2);
                if (aperti.empty() || elementi[aperti.back()].nome != nome)
                    return errore("mismatched </" + nome + ">");
                aperti.pop_back();
                if (aperti.empty())
                    radice_chiusa = true;
                i_ = f + 1;
            } else if (t_[i_] == '<') {
                if (radice_chiusa)
                    return errore("content after the root element");
                ++i_;
                elemento_xml e;
                while (i_ < t_.size() && std::isalnum(static_cast<unsigned char>(t_[i_])))
                    e.nome += t_[i_++];
                if (e.nome.empty())
                    return errore("element without a name");
                for (std::size_t a : aperti)
                    e.antenati.push_back(elementi[a].nome + "#" + elementi[a].attributi["id"]);
                bool vuoto = false;
                for (;;) {
                    salta_spazi();
                    if (i_ >= t_.size())
                        return errore("unterminated tag");
                    if (t_.compare(i_, 2, "/>") == 0) {
                        vuoto = true;
                        i_ += 2;
                        break;
                    }
                    if (t_[i_] == '>') {
                        ++i_;
                        break;
                    }
                    std::string nome;
                    while (i_ < t_.size() && (std::isalnum(static_cast<unsigned char>(t_[i_])) ||
                                              t_[i_] == '-' || t_[i_] == ':'))
                        nome += t_[i_++];
                    if (nome.empty() || i_ + 1 >= t_.size() || t_[i_] != '=' || t_[i_ + 1] != '"')
                        return errore("bad attribute in <" + e.nome + ">");
                    i_ += 2;
                    const std::size_t f = t_.find('"', i_);
                    if (f == std::string::npos)
                        return errore("unterminated attribute");
                    std::string valore;
                    if (!decodifica(t_.substr(i_, f - i_), valore))
                        return errore("bad entity in an attribute");
                    if (e.attributi.count(nome))
                        return errore("attribute " + nome + " given twice");
                    e.attributi[nome] = valore;
                    i_ = f + 1;
                }
                elementi.push_back(std::move(e));
                if (!vuoto)
                    aperti.push_back(elementi.size() - 1);
            } else {
                const std::size_t f = t_.find('<', i_);
                const std::string grezzo = t_.substr(i_, f == std::string::npos ? std::string::npos : f - i_);
                std::string testo;
                if (!decodifica(grezzo, testo))
                    return errore("bad entity in text");
                if (!aperti.empty())
                    elementi[aperti.back()].testo += testo;
                i_ = f == std::string::npos ? t_.size() : f;
            }
        }
        if (!aperti.empty())
            return errore("unclosed <" + elementi[aperti.back()].nome + ">");
        if (!radice_chiusa)
            return errore("no root element");
        return {};
    }

private:
    std::string errore(const std::string& cosa) const { return cosa + " at offset " + std::to_string(i_); }
    void salta_spazi() {
        while (i_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[i_])))
            ++i_;
    }
    static bool decodifica(const std::string& grezzo, std::string& out) {
        for (std::size_t k = 0; k < grezzo.size(); ++k) {
            if (grezzo[k] == '<')
                return false;
            if (grezzo[k] != '&') {
                out += grezzo[k];
                continue;
            }
            const std::size_t f = grezzo.find(';', k);
            if (f == std::string::npos)
                return false;
            const std::string entita = grezzo.substr(k + 1, f - k - 1);
            static const std::map<std::string, std::string> note = {
                {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"#39", "'"}};
            const auto it = note.find(entita);
            if (it == note.end())
                return false;
            out += it->second;
            k = f;
        }
        return true;
    }

    std::string t_;
    std::size_t i_ = 0;
};

class Piano : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device caso;
        radice_ = fs::temp_directory_path() / ("scenario_tool_plan_" + std::to_string(caso()));
        fs::create_directories(radice_);
        write_file(radice_ / "l.txt", testo_lista(sorgenti::righe_linea()));
        write_file(radice_ / "r.txt", testo_lista(sorgenti::righe_treno()));
    }
    void TearDown() override { fs::remove_all(radice_); }

    void compila(bool piano) {
        const esito_compilazione e = compila_sorgenti(
            {radice_ / "l.txt", radice_ / "r.txt", "Calvena_Roccalba", "4127", piano, radice_ / "out"});
        ASSERT_FALSE(e.guasto);
        ASSERT_TRUE(e.errori.empty());
    }

    int disegna(std::string& err) {
        std::ostringstream o, e;
        const int stato = run({"plan", "--name", "Calvena_Roccalba", "--train", "4127",
                               (radice_ / "out").string(), "--svg", (radice_ / "plan.svg").string()},
                              o, e);
        err = e.str();
        return stato;
    }

    std::vector<elemento_xml> leggi_svg() {
        std::vector<elemento_xml> elementi;
        const std::string errore = lettore_xml(read_file(radice_ / "plan.svg")).leggi(elementi);
        EXPECT_EQ(errore, "");
        return elementi;
    }

    fs::path radice_;
};

const char* const stazioni[] = {
    "CALVENA",
    "CALVENA OVEST",
    "VALDIBRANA",
    "PITECCIO",
    "CORBEZZI",
    "CASTAGNO",
    "S.MOMME'",
    "PRACCHIA",
    "BIAGIONI LAGACCI",
    "MOLINO DEL PALLONE",
    "PONTE DELLA VENTURINA",
    "ROCCALBA TERME",
};

TEST_F(Piano, TheDrawingNamesTheTwelveStationsAndMarksSignalsAndSlowdowns) {
    compila(true);
    std::string err;
    ASSERT_EQ(disegna(err), 0) << err;
    const std::vector<elemento_xml> elementi = leggi_svg();
    ASSERT_FALSE(elementi.empty());
    EXPECT_EQ(elementi.front().nome, "svg");
    EXPECT_EQ(elementi.front().attributi.at("xmlns"), "http://www.w3.org/2000/svg");

    std::map<std::string, int> nomi_nel_piano;
    int segnali = 0, rallentamenti = 0;
    std::string intestazione;
    for (const elemento_xml& e : elementi) {
        const bool nel_piano = !e.antenati.empty() && e.antenati.back() == "g#plan";
        if (e.nome == "text" && nel_piano)
            ++nomi_nel_piano[e.testo];
        if (e.nome == "text" && e.antenati.size() == 1)
            intestazione += e.testo + "\n";
        if (e.nome == "circle" && nel_piano && e.attributi.at("fill") == "#d62728")
            ++segnali;
        if (e.nome == "polyline" && nel_piano && e.attributi.at("stroke") == "#f08c00")
            ++rallentamenti;
    }
    for (const char* nome : stazioni)
        EXPECT_GE(nomi_nel_piano[nome], 1) << nome;
    EXPECT_EQ(segnali, 12);
    EXPECT_EQ(rallentamenti, 2);
    EXPECT_NE(intestazione.find("route 40 km, 12 stations, 12 signals, 2 slowdowns"), std::string::npos)
        << intestazione;
}

TEST_F(Piano, WithoutALineFileTheLineIsDrawnStraight) {
    compila(false);
    std::string err;
    ASSERT_EQ(disegna(err), 0) << err;
    std::string testi;
    for (const elemento_xml& e : leggi_svg())
        if (e.nome == "text")
            testi += e.testo + "\n";
    EXPECT_NE(testi.find("no line file"), std::string::npos);
    for (const char* nome : stazioni)
        EXPECT_NE(testi.find(nome), std::string::npos) << nome;
}

TEST_F(Piano, MissingOrInvalidFilesAreReported) {
    std::string err;
    EXPECT_EQ(disegna(err), 2);  // nothing compiled yet
    EXPECT_NE(err.find("no such file"), std::string::npos) << err;

    compila(true);
    write_file(radice_ / "out" / "Calvena_Roccalba_4127.sim", "short");
    EXPECT_EQ(disegna(err), 1);
    EXPECT_NE(err.find("offset"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(radice_ / "plan.svg"));
}

}  // namespace
}  // namespace scenario::tool
