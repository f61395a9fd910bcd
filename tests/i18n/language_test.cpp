// Reading a request for a language: tags, --lang, the locale variables,
// Accept-Language and an editor's locale, each a table of cases.
#include "tools/i18n/language.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>

namespace {

using scenario::i18n::language;
constexpr std::optional<language> none = std::nullopt;
constexpr std::optional<language> it = language::italian;
constexpr std::optional<language> en = language::english;

TEST(Language, TagsAndOptions) {
    const struct {
        const char* tag;
        std::optional<language> expected;
    } cases[] = {
        {"it", it},        {"IT", it},    {"it_IT.UTF-8", it}, {"it-CH", it}, {"it@euro", it},
        {"en", en},        {"en_GB", en}, {"en-us", en},       {"fr", none},  {"C", none},
        {"C.UTF-8", none}, {"", none},    {"ita", none},       {"i", none},   {"-it", none},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scenario::i18n::language_of_tag(c.tag), c.expected) << c.tag;

    EXPECT_EQ(scenario::i18n::language_option("it"), it);
    EXPECT_EQ(scenario::i18n::language_option("en"), en);
    for (const char* wrong : {"IT", "it_IT", "italiano", "", "fr"})
        EXPECT_EQ(scenario::i18n::language_option(wrong), none) << wrong;
    EXPECT_EQ(scenario::i18n::language_code(language::italian), "it");
    EXPECT_EQ(scenario::i18n::language_code(language::english), "en");
}

TEST(Language, FromTheLocaleVariables) {
    using vars = std::map<std::string, std::string>;
    const struct {
        vars environment;
        language expected;
    } cases[] = {
        {{}, language::english},
        {{{"LANG", "it_IT.UTF-8"}}, language::italian},
        {{{"LANG", "en_US.UTF-8"}}, language::english},
        {{{"LANG", "de_DE.UTF-8"}}, language::english},
        // LC_ALL, then LC_MESSAGES, then LANG; an empty one does not count.
        {{{"LC_ALL", "it_IT.UTF-8"}, {"LANG", "en_US.UTF-8"}}, language::italian},
        {{{"LC_ALL", "en_US.UTF-8"}, {"LC_MESSAGES", "it_IT.UTF-8"}}, language::english},
        {{{"LC_MESSAGES", "it_IT.UTF-8"}, {"LANG", "en_US.UTF-8"}}, language::italian},
        {{{"LC_ALL", ""}, {"LANG", "it_IT"}}, language::italian},
        // LANGUAGE is a colon list; its first language the tool has decides.
        {{{"LANGUAGE", "it:en"}, {"LANG", "en_US.UTF-8"}}, language::italian},
        {{{"LANGUAGE", "fr:it_IT:en"}, {"LANG", "en_US.UTF-8"}}, language::italian},
        {{{"LANGUAGE", "en_GB:it"}, {"LANG", "it_IT.UTF-8"}}, language::english},
        {{{"LANGUAGE", "fr:de"}, {"LANG", "it_IT.UTF-8"}}, language::english},
        {{{"LANGUAGE", ""}, {"LANG", "it_IT.UTF-8"}}, language::italian},
        {{{"LANGUAGE", "::it"}, {"LANG", "de_DE"}}, language::italian},
        // The C locale means English whatever LANGUAGE says (LC_ALL=C in scripts).
        {{{"LANGUAGE", "it"}}, language::english},
        {{{"LANGUAGE", "it"}, {"LC_ALL", "C"}, {"LANG", "it_IT.UTF-8"}}, language::english},
        {{{"LANGUAGE", "it"}, {"LANG", "C.UTF-8"}}, language::english},
        {{{"LANGUAGE", "it"}, {"LANG", "POSIX"}}, language::english},
    };
    for (const auto& c : cases) {
        const auto variable = [&](const char* name) -> const char* {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        };
        std::string shown;
        for (const auto& [k, v] : c.environment)
            shown += k + "=" + v + " ";
        EXPECT_EQ(scenario::i18n::language_from_environment(variable), c.expected) << shown;
    }
}

TEST(Language, FromAcceptLanguage) {
    const struct {
        const char* header;
        std::optional<language> expected;
    } cases[] = {
        {"", none},
        {"it", it},
        {"it-IT,it;q=0.9,en-US;q=0.8,en;q=0.7", it},
        {"en-US,en;q=0.9,it;q=0.8", en},
        {"fr-CH, fr;q=0.9, it;q=0.8, *;q=0.5", it},
        {"fr, de", none},
        {"*", none},
        // The higher quality wins wherever it stands; a tie goes to the first.
        {"en;q=0.5, it;q=0.6", it},
        {"en;q=0.5, it;q=0.5", en},
        {"it;q=0.500, en;q=0.499", it},
        // q=0 means "not this one"; a malformed q drops its entry.
        {"it;q=0, en;q=0.1", en},
        {"it;q=0", none},
        {"it;q=1.5, en;q=0.2", en},
        {"it;q=abc, en;q=0.2", en},
        {"it;q=0.12345, en;q=0.2", en},
        {"it ; Q=0.9 , en ; q=0.8", it},
        {" , ;q=1, it", it},
        {"it;level=1;q=0.7, en;q=0.6", it},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scenario::i18n::language_of_accept_language(c.header), c.expected) << c.header;
}

TEST(Language, FromAnEditorsLocale) {
    const struct {
        const char* locale;
        std::optional<language> expected;
    } cases[] = {{"it", it}, {"it-IT", it}, {"en-us", en}, {"en", en}, {"zh-cn", none}, {"", none}};
    for (const auto& c : cases)
        EXPECT_EQ(scenario::i18n::language_of_editor_locale(c.locale), c.expected) << c.locale;
}

}  // namespace
