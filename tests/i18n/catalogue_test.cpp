// The .mo reader on catalogues built here (contexts, plurals, either byte
// order, damaged ones), and the built-in Italian catalogue: it reads, it is
// Italian, and every translation has the English text's placeholders.
#include "tools/i18n/catalogue.h"

#include "tools/i18n/fill.h"
#include "tools/i18n/messages.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

using scenario::i18n::catalogue;
using scenario::i18n::language;
using bytes = std::vector<unsigned char>;

// A .mo as msgfmt lays it out: header, originals' table, translations'
// table, then the strings, each followed by a NUL.
bytes make_mo(const std::vector<std::pair<std::string, std::string>>& entries, bool big_endian = false) {
    bytes out;
    const auto word = [&](std::uint32_t w) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<unsigned char>(w >> (8 * (big_endian ? 3 - i : i))));
    };
    const auto n = static_cast<std::uint32_t>(entries.size());
    const std::uint32_t originals = 28, translations = originals + 8 * n;
    std::uint32_t at = translations + 8 * n;
    word(0x950412de), word(0), word(n), word(originals), word(translations), word(0), word(at);
    std::string strings;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> original_pairs, translation_pairs;
    for (const auto& [k, v] : entries) {
        original_pairs.emplace_back(static_cast<std::uint32_t>(k.size()), at + strings.size());
        strings += k + '\0';
    }
    for (const auto& [k, v] : entries) {
        translation_pairs.emplace_back(static_cast<std::uint32_t>(v.size()), at + strings.size());
        strings += v + '\0';
    }
    for (const auto& table : {original_pairs, translation_pairs})
        for (const auto& [length, offset] : table)
            word(length), word(offset);
    out.insert(out.end(), strings.begin(), strings.end());
    return out;
}

const std::vector<std::pair<std::string, std::string>> sample = {
    {"", "Language: it\nPlural-Forms: nplurals=2; plural=(n != 1);\n"},
    {"line", "riga"},
    {std::string("track\x04line"), "linea"},
    {std::string("{count} warning\0{count} warnings", 32), std::string("{count} avviso\0{count} avvisi", 29)},
};

TEST(Catalogue, ReadsContextsAndPluralsInEitherByteOrder) {
    for (const bool big_endian : {false, true}) {
        const bytes mo = make_mo(sample, big_endian);
        const auto c = catalogue::read(mo);
        ASSERT_TRUE(c.ok()) << c.error();
        EXPECT_EQ(c->find("line"), "riga");
        EXPECT_EQ(c->find(std::string("track\x04line")), "linea");
        EXPECT_EQ(c->find("{count} warning"), "{count} avviso");
        EXPECT_EQ(c->find("{count} warning", 1), "{count} avvisi");
        EXPECT_EQ(c->find("{count} warning", 2), std::nullopt);
        EXPECT_EQ(c->find("{count} warnings"), std::nullopt);
        EXPECT_EQ(c->find("absent"), std::nullopt);
        EXPECT_EQ(c->find(""), std::nullopt);  // the header is no message
        EXPECT_EQ(c->header_field("Language"), "it");
        EXPECT_EQ(c->header_field("Plural-Forms"), "nplurals=2; plural=(n != 1);");
        EXPECT_EQ(c->header_field("Lang"), "");
        EXPECT_EQ(c->entries().size(), 3u);
    }
}

TEST(Catalogue, RefusesDamagedBytes) {
    const bytes good = make_mo(sample);
    std::vector<std::pair<std::string, bytes>> damaged;
    damaged.emplace_back("empty", bytes{});
    damaged.emplace_back("header cut short", bytes(good.begin(), good.begin() + 20));
    bytes magic = good;
    magic[0] ^= 1;
    damaged.emplace_back("wrong magic", magic);
    bytes revision = good;
    revision[6] = 2;
    damaged.emplace_back("unknown major revision", revision);
    bytes count = good;
    count[8] = 200;  // more entries than the tables hold
    damaged.emplace_back("count past the end", count);
    bytes offset = good;
    offset[28 + 8 + 4 + 3] = 0x7f;  // the second original's offset far outside
    damaged.emplace_back("string offset outside", offset);
    bytes no_nul = good;
    no_nul.pop_back();  // the last string loses its terminating NUL
    damaged.emplace_back("unterminated string", no_nul);
    for (const auto& [why, b] : damaged)
        EXPECT_FALSE(catalogue::read(b).ok()) << why;
}

TEST(Catalogue, TheBuiltInOneIsItalianWithTheEnglishPlaceholders) {
    const catalogue& italian = scenario::i18n::italian_catalogue();
    ASSERT_FALSE(italian.entries().empty());
    EXPECT_EQ(italian.header_field("Language"), "it");
    // translate_count() takes the singular for 1 only, as this rule says.
    EXPECT_EQ(italian.header_field("Plural-Forms"), "nplurals=2; plural=(n != 1);");
    for (const auto& e : italian.entries()) {
        const std::size_t bar = e.key.find('\x04');
        const std::string_view english = bar == std::string_view::npos ? e.key : e.key.substr(bar + 1);
        const auto english_names = scenario::i18n::placeholder_names(english);
        ASSERT_TRUE(english_names.ok()) << english << ": " << english_names.error();
        auto all_names = english_names.value();
        if (!e.english_plural.empty()) {
            const auto plural_names = scenario::i18n::placeholder_names(e.english_plural);
            ASSERT_TRUE(plural_names.ok()) << e.english_plural;
            all_names.insert(plural_names->begin(), plural_names->end());
        }
        ASSERT_EQ(e.forms.size(), e.english_plural.empty() ? 1u : 2u) << english;
        for (const std::string_view form : e.forms) {
            const auto names = scenario::i18n::placeholder_names(form);
            ASSERT_TRUE(names.ok()) << form << ": " << names.error();
            if (e.english_plural.empty()) {
                EXPECT_EQ(names.value(), all_names) << english << " -> " << form;
            } else {  // a singular may say "un avviso" without its count
                EXPECT_TRUE(std::includes(all_names.begin(), all_names.end(), names->begin(), names->end()))
                    << english << " -> " << form;
            }
        }
    }
}

TEST(Catalogue, EnglishIsTheSourceAndTheFallback) {
    const char* const text = "{who}: unknown option '{word}'";
    EXPECT_EQ(scenario::i18n::translate(language::english, text), text);
    EXPECT_EQ(scenario::i18n::translate(language::italian, text), "{who}: opzione sconosciuta '{word}'");
    EXPECT_EQ(scenario::i18n::translate(language::italian, "no such entry"), "no such entry");
    EXPECT_EQ(scenario::i18n::translate_in_context(language::italian, "no such context", text), text);
    EXPECT_EQ(scenario::i18n::translate_count(language::italian, "{count} file", "{count} files", 2),
              "{count} files");
    EXPECT_EQ(scenario::i18n::translate_count(language::english, "{count} file", "{count} files", 1),
              "{count} file");
    EXPECT_EQ(scenario::i18n::say(language::italian, text, {{"who", "scenario"}, {"word", "--x"}}),
              "scenario: opzione sconosciuta '--x'");
}

}  // namespace
