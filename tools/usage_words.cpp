// The top-level usage sentences: each one whole, its variable parts named.
#include "tools/usage_words.h"

#include "tools/i18n/messages.h"

namespace scenario::tool {

using i18n::say;

std::string no_command_words(i18n::language l, const std::vector<std::string>& commands) {
    if (commands.empty())
        return say(l, "scenario: give a command");
    std::string first;
    for (std::size_t i = 0; i + 1 < commands.size(); ++i)
        first += (i == 0 ? "" : ", ") + commands[i];
    if (first.empty())
        return say(l, "scenario: give a command: {commands}", {{"commands", commands.back()}});
    return say(l, "scenario: give a command: {commands} or {last}",
               {{"commands", first}, {"last", commands.back()}});
}

std::string unknown_word_words(i18n::language l, std::string_view who, std::string_view word) {
    if (!word.empty() && word[0] == '-')
        return say(l, "{who}: unknown option '{word}'", {{"who", who}, {"word", word}});
    return say(l, "{who}: unknown command '{word}'", {{"who", who}, {"word", word}});
}

std::string try_help_words(i18n::language l, std::string_view who) {
    return say(l, "Try '{who} --help'.", {{"who", who}});
}

std::string exit_status_words(i18n::language l) {
    return say(l,
               "Exit status: 0 success, 1 the input holds errors (a compile error, an invalid\n"
               "compiled file), 2 usage error, unreadable input or unwritable output.");
}

}  // namespace scenario::tool
