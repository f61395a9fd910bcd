// Prints the language the tool would choose by itself and one sentence in it:
// run by the tests with a locale set, on Linux and under Wine.
#include "tools/i18n/system_language.h"
#include "tools/usage_words.h"

#include <iostream>

int main() {
    const scenario::i18n::language l = scenario::i18n::choose_language(std::nullopt);
    std::cout << "language: " << scenario::i18n::language_code(l) << "\n"
              << scenario::tool::no_command_words(l, {"check", "view"}) << "\n";
    return 0;
}
