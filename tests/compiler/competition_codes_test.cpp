#include "compiler/competition_codes.h"

#include <gtest/gtest.h>
#include <string>

namespace scenario {
namespace {

stato_scenario identita(const std::string& treno, const std::string& nome) {
    stato_scenario s;
    s.voci[voce_identita_treno].testo = treno;
    s.voci[voce_scenario].testo = nome;
    return s;
}

TEST(CompetitionCodes, Examples) {
    struct caso {
        const char* treno;
        const char* nome;
        int32_t og, st;
    } casi[] = {
        {"12", "AB", 2437, 33416},
        {"12", "ab", 2437, 33416},  // case does not count
        {"ab", "12", 2437, 33224},  // order does
        {"", "", 2583, 34355},      // the filler alone
    };
    for (const caso& c : casi) {
        const stato_scenario s = identita(c.treno, c.nome);
        EXPECT_EQ(codice_gara_og(s), c.og) << c.treno << "/" << c.nome;
        EXPECT_EQ(codice_gara_st(s), c.st) << c.treno << "/" << c.nome;
    }
}

TEST(CompetitionCodes, OnlyTheFirst25CharactersCount) {
    const std::string base = "4127";
    const std::string nome(21, 'q');
    const stato_scenario a = identita(base, nome + "x"), b = identita(base, nome + "yzzz");
    EXPECT_EQ(codice_gara_og(a), codice_gara_og(b));
    EXPECT_EQ(codice_gara_st(a), codice_gara_st(b));
    const stato_scenario c = identita(base, nome.substr(1) + "x");
    EXPECT_NE(codice_gara_st(a), codice_gara_st(c));
    // The largest values: 25 bytes of 255.
    const stato_scenario massimo = identita(std::string(25, '\xff'), "");
    EXPECT_EQ(codice_gara_og(massimo), 6375);
    EXPECT_EQ(codice_gara_st(massimo), 82875);
}

TEST(CompetitionCodes, LowerCaseOfWindows1252) {
    EXPECT_EQ(minuscole_cp1252("AZaz09_"), "azaz09_");
    EXPECT_EQ(minuscole_cp1252("\xC0\xC9\xD6\xD7\xD8\xDE\xDF"), "\xE0\xE9\xF6\xD7\xF8\xFE\xDF");
    EXPECT_EQ(minuscole_cp1252("\x8A\x8C\x8E\x9F\x9A\xFF\x80"), "\x9A\x9C\x9E\xFF\x9A\xFF\x80");
    EXPECT_EQ(codice_gara_st(identita("\xC9", "")), codice_gara_st(identita("\xE9", "")));
}

}  // namespace
}  // namespace scenario
