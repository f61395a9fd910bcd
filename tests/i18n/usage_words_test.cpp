// The top-level usage sentences: English exactly as the command line prints
// them today, Italian from the built-in catalogue, whole sentences either way.
#include "tools/usage_words.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using scenario::i18n::language;

TEST(UsageWords, EnglishAsTodayAndItalian) {
    const std::vector<std::string> commands = {"sources", "new",    "compile", "check", "dump",
                                               "plan",    "format", "view",    "lsp"};
    const struct {
        language l;
        std::string got, expected;
    } cases[] = {
        {language::english, scenario::tool::no_command_words(language::english, commands),
         "scenario: give a command: sources, new, compile, check, dump, plan, format, view or lsp"},
        {language::italian, scenario::tool::no_command_words(language::italian, commands),
         "scenario: indicare un comando: sources, new, compile, check, dump, plan, format, view o lsp"},
        {language::italian, scenario::tool::no_command_words(language::italian, {"check"}),
         "scenario: indicare un comando: check"},
        {language::italian, scenario::tool::no_command_words(language::italian, {}),
         "scenario: indicare un comando"},
        {language::english, scenario::tool::unknown_word_words(language::english, "scenario", "--frob"),
         "scenario: unknown option '--frob'"},
        {language::english, scenario::tool::unknown_word_words(language::english, "scenario", "frob"),
         "scenario: unknown command 'frob'"},
        {language::italian, scenario::tool::unknown_word_words(language::italian, "scenario", "--frob"),
         "scenario: opzione sconosciuta '--frob'"},
        {language::italian, scenario::tool::unknown_word_words(language::italian, "scenario check", "frob"),
         "scenario check: comando sconosciuto 'frob'"},
        {language::english, scenario::tool::try_help_words(language::english, "scenario check"),
         "Try 'scenario check --help'."},
        {language::italian, scenario::tool::try_help_words(language::italian, "scenario"),
         "Per l'aiuto: 'scenario --help'."},
        {language::english, scenario::tool::exit_status_words(language::english),
         "Exit status: 0 success, 1 the input holds errors (a compile error, an invalid\n"
         "compiled file), 2 usage error, unreadable input or unwritable output."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.expected);
    EXPECT_EQ(scenario::tool::exit_status_words(language::italian).rfind("Codice di uscita: 0", 0), 0u);
}

}  // namespace
