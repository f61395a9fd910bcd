// The tool's JSON: strings escaped so that any input gives valid JSON, numbers
// that read back exactly, and the outputs of compile --json and dump parse.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tools/command_line.h"
#include "tools/json_writer.h"
#include "tools/text_encoding.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace scenario::strumento {
namespace {

namespace fs = std::filesystem;

// A strict JSON checker (RFC 8259): gives the offset of the first fault, or
// nothing when the whole text is one valid value.
class verifica_json {
public:
    explicit verifica_json(std::string_view t) : t_(t) {}
    std::optional<std::size_t> errore() {
        spazi();
        if (!valore())
            return i_;
        spazi();
        if (i_ != t_.size())
            return i_;
        return std::nullopt;
    }

private:
    void spazi() {
        while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\n' || t_[i_] == '\r' || t_[i_] == '\t'))
            ++i_;
    }
    bool letterale(std::string_view l) {
        if (t_.substr(i_, l.size()) != l)
            return false;
        i_ += l.size();
        return true;
    }
    bool valore() {
        if (i_ >= t_.size())
            return false;
        switch (t_[i_]) {
            case '{':
                return contenitore('}', true);
            case '[':
                return contenitore(']', false);
            case '"':
                return stringa();
            case 't':
                return letterale("true");
            case 'f':
                return letterale("false");
            case 'n':
                return letterale("null");
            default:
                return numero();
        }
    }
    bool contenitore(char chiusa, bool oggetto) {
        ++i_;
        spazi();
        if (i_ < t_.size() && t_[i_] == chiusa)
            return ++i_, true;
        for (;;) {
            spazi();
            if (oggetto) {
                if (i_ >= t_.size() || t_[i_] != '"' || !stringa())
                    return false;
                spazi();
                if (i_ >= t_.size() || t_[i_++] != ':')
                    return false;
                spazi();
            }
            if (!valore())
                return false;
            spazi();
            if (i_ >= t_.size())
                return false;
            if (t_[i_] == ',') {
                ++i_;
                continue;
            }
            return t_[i_++] == chiusa;
        }
    }
    bool stringa() {
        ++i_;
        while (i_ < t_.size()) {
            const auto c = static_cast<unsigned char>(t_[i_++]);
            if (c == '"')
                return true;
            if (c < 0x20)
                return false;
            if (c == '\\') {
                if (i_ >= t_.size())
                    return false;
                const char e = t_[i_++];
                if (e == 'u') {
                    for (int k = 0; k < 4; ++k)
                        if (i_ >= t_.size() || !std::isxdigit(static_cast<unsigned char>(t_[i_++])))
                            return false;
                } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                    return false;
                }
            }
        }
        return false;
    }
    bool numero() {
        const std::size_t inizio = i_;
        if (i_ < t_.size() && t_[i_] == '-')
            ++i_;
        if (i_ >= t_.size() || !std::isdigit(static_cast<unsigned char>(t_[i_])))
            return false;
        if (t_[i_] == '0')
            ++i_;
        else
            while (i_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[i_])))
                ++i_;
        if (i_ < t_.size() && t_[i_] == '.') {
            ++i_;
            if (i_ >= t_.size() || !std::isdigit(static_cast<unsigned char>(t_[i_])))
                return false;
            while (i_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[i_])))
                ++i_;
        }
        if (i_ < t_.size() && (t_[i_] == 'e' || t_[i_] == 'E')) {
            ++i_;
            if (i_ < t_.size() && (t_[i_] == '+' || t_[i_] == '-'))
                ++i_;
            if (i_ >= t_.size() || !std::isdigit(static_cast<unsigned char>(t_[i_])))
                return false;
            while (i_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[i_])))
                ++i_;
        }
        return i_ > inizio;
    }

    std::string_view t_;
    std::size_t i_ = 0;
};

std::optional<std::size_t> errore_json(const std::string& t) {
    return verifica_json(t).errore();
}

TEST(Json, StringsAreEscapedWhateverTheyHold) {
    struct caso {
        std::string dentro;
        std::string atteso;
    } casi[] = {
        {"plain", "\"plain\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\r\n\t\b\f", "\"\\r\\n\\t\\b\\f\""},
        {std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\\u007f\""},
        {std::string("nul\0x", 5), "\"nul\\u0000x\""},
        {"caff\xC3\xA8", "\"caff\xC3\xA8\""},                          // valid UTF-8 stays
        {"bad\xE8 end", "\"bad\xEF\xBF\xBD end\""},                    // a stray byte becomes U+FFFD
        {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // no surrogates
    };
    for (const caso& c : casi) {
        EXPECT_EQ(stringa_json(c.dentro), c.atteso);
        EXPECT_FALSE(errore_json(stringa_json(c.dentro)));
    }
}

TEST(Json, Windows1252TextsBecomeUtf8) {
    EXPECT_EQ(da_windows1252("S.MOMME'"), "S.MOMME'");
    EXPECT_EQ(da_windows1252("\xC8\x80\x9F\xFF"), "\xC3\x88\xE2\x82\xAC\xC5\xB8\xC3\xBF");
    EXPECT_EQ(da_windows1252("\x81"), "\xC2\x81");  // undefined in the code page: kept
}

TEST(Json, NumbersReadBackExactlyAndShowTheirKind) {
    std::ostringstream out;
    {
        scrittore_json j(out);
        j.inizia_lista(true);
        j.intero(std::numeric_limits<int64_t>::min());
        j.reale(0.1 + 0.2);
        j.reale(2.0);
        j.reale(-1e300);
        j.reale(std::numeric_limits<double>::quiet_NaN());
        j.reale(std::numeric_limits<double>::infinity());
        j.chiudi_lista();
    }
    EXPECT_EQ(out.str(), "[-9223372036854775808, 0.30000000000000004, 2.0, -1e+300, null, null]\n");
    EXPECT_EQ(std::strtod("0.30000000000000004", nullptr), 0.1 + 0.2);
}

TEST(Json, NestedContainersAndEmptyOnes) {
    std::ostringstream out;
    {
        scrittore_json j(out);
        j.inizia_oggetto();
        j.chiave("vuota");
        j.inizia_lista();
        j.chiudi_lista();
        j.chiave("righe");
        j.inizia_lista();
        for (int i = 0; i < 2; ++i) {
            j.inizia_oggetto(true);
            j.campo("i", i);
            j.chiave("l");
            j.inizia_lista();
            j.booleano(true);
            j.nullo();
            j.chiudi_lista();
            j.chiudi_oggetto();
        }
        j.chiudi_lista();
        j.chiudi_oggetto();
    }
    EXPECT_EQ(out.str(),
              "{\n  \"vuota\": [],\n  \"righe\": [\n    {\"i\": 0, \"l\": [true, null]},\n"
              "    {\"i\": 1, \"l\": [true, null]}\n  ]\n}\n");
}

class JsonComandi : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device caso;
        radice_ = fs::temp_directory_path() / ("scenario_tool_json_" + std::to_string(caso()));
        fs::create_directories(radice_);
    }
    void TearDown() override { fs::remove_all(radice_); }

    std::string esegui_out(const std::vector<std::string>& parole, int stato_atteso) {
        std::ostringstream o, e;
        EXPECT_EQ(esegui(parole, o, e), stato_atteso) << e.str();
        return o.str();
    }
    fs::path radice_;
};

TEST_F(JsonComandi, CompileAndDumpOutputsAreValidJson) {
    std::ofstream(radice_ / "l.txt", std::ios::binary) << testo_lista(sorgenti::righe_linea());
    // A run description with an odd station name and a duplicated signal.
    std::string corsa = testo_lista(sorgenti::righe_treno());
    corsa.replace(corsa.find("CALVENA\r\n"), 7, "CAL\"VE\\NA \xE8");
    const std::string segnale = "segnale,    3650,   1, 4, 1,  0, 0,    0,  0,0,0, 0\r\n";
    corsa.insert(corsa.find(segnale), segnale);
    std::ofstream(radice_ / "r.txt", std::ios::binary) << corsa;
    std::ofstream(radice_ / "r_ok.txt", std::ios::binary) << testo_lista(sorgenti::righe_treno());

    const std::string out = (radice_ / "out").string();
    const std::string compilato =
        esegui_out({"compile", "--line", (radice_ / "l.txt").string(), "--run", (radice_ / "r.txt").string(),
                    "--name", "Calvena_Roccalba", "--train", "4127", "--out", out, "--json"},
                   1);
    EXPECT_FALSE(errore_json(compilato)) << compilato;
    EXPECT_NE(compilato.find("\"codice_errore\": 16,"), std::string::npos) << compilato;
    EXPECT_NE(compilato.find("\"posizione_errore\": 3650,"), std::string::npos);
    EXPECT_NE(compilato.find("\"line\": "), std::string::npos);
    EXPECT_NE(compilato.find("\"message\": \"signal at 3650 m: "), std::string::npos);
    EXPECT_NE(compilato.find("\"fatal\": false"), std::string::npos);

    for (const std::vector<std::string>& dump :
         {std::vector<std::string>{"dump", out + "/Calvena_Roccalba_4127.sim",
                                   out + "/Calvena_Roccalba_4127.dat"},
          {"dump", out + "/Calvena_Roccalba_linea.dat", "--points", "0:3000"}}) {
        const std::string testo = esegui_out(dump, 0);
        EXPECT_FALSE(errore_json(testo)) << testo.substr(0, 400);
    }
    const std::string voci = esegui_out({"dump", out + "/Calvena_Roccalba_4127.sim"}, 0);
    EXPECT_NE(voci.find("\"testo\": \"CAL\\\"VE\\\\NA \xC3\xA8\""), std::string::npos);

    // A clean compile and a fatal one.
    const std::string pulito =
        esegui_out({"compile", "--line", (radice_ / "l.txt").string(), "--run",
                    (radice_ / "r_ok.txt").string(), "--name", "X", "--train", "1", "--out", out, "--json"},
                   0);
    EXPECT_FALSE(errore_json(pulito)) << pulito;
    EXPECT_NE(pulito.find("\"codice_errore\": 0,"), std::string::npos) << pulito;
    EXPECT_NE(pulito.find("\"message\": null"), std::string::npos) << pulito;

    std::ofstream(radice_ / "fatale.txt", std::ios::binary)
        << "[generale]\r\nsegnale, 0, 1, 4, 1, 0, 0, 0, 0,0,0, 0\r\n[fine]\r\n";
    const std::string fatale =
        esegui_out({"compile", "--line", (radice_ / "l.txt").string(), "--run",
                    (radice_ / "fatale.txt").string(), "--name", "Y", "--train", "1", "--out", out, "--json"},
                   1);
    EXPECT_FALSE(errore_json(fatale)) << fatale;
    EXPECT_NE(fatale.find("\"codice_errore\": 1250,"), std::string::npos) << fatale;
    EXPECT_NE(fatale.find("\"fatal\": true"), std::string::npos) << fatale;
    EXPECT_NE(fatale.find("\"line\": 2,"), std::string::npos) << fatale;
    EXPECT_FALSE(fs::exists(radice_ / "out" / "Y_1.dat"));
}

}  // namespace
}  // namespace scenario::strumento
