// The tool's top-level usage sentences in the author's language: no command,
// an unknown word, the hint to ask for help, the exit statuses. The command
// line calls these once it takes `--lang`; until then only the tests do.
#pragma once

#include "tools/i18n/language.h"

#include <string>
#include <string_view>
#include <vector>

namespace scenario::tool {

// "scenario: give a command: sources, new, ... or lsp", from the commands' names.
std::string no_command_words(i18n::language l, const std::vector<std::string>& commands);

// "WHO: unknown option 'WORD'" for a word starting with '-', else "... unknown command ...".
std::string unknown_word_words(i18n::language l, std::string_view who, std::string_view word);

// "Try 'WHO --help'."
std::string try_help_words(i18n::language l, std::string_view who);

// The sentence on the exit statuses that ends the tool's help.
std::string exit_status_words(i18n::language l);

}  // namespace scenario::tool
