// Looking texts up in the built-in Italian catalogue, English otherwise.
#include "tools/i18n/messages.h"

#include "tools/i18n/embedded_catalogue.h"

#include <string>

namespace scenario::i18n {

const catalogue& italian_catalogue() {
    static const catalogue italian = [] {
        result<catalogue> read = catalogue::read(italian_catalogue_bytes());
        return read ? std::move(read).value() : catalogue();
    }();
    return italian;
}

std::string_view translate(language l, std::string_view english) {
    if (l == language::english || english.empty())
        return english;
    return italian_catalogue().find(english).value_or(english);
}

std::string_view translate_in_context(language l, std::string_view context, std::string_view english) {
    if (l == language::english)
        return english;
    std::string key(context);
    key += '\x04';
    key += english;
    return italian_catalogue().find(key).value_or(english);
}

std::string_view translate_count(language l, std::string_view singular, std::string_view plural,
                                 std::uint64_t n) {
    const std::string_view english = n == 1 ? singular : plural;
    if (l == language::english)
        return english;
    return italian_catalogue().find(singular, n == 1 ? 0 : 1).value_or(english);
}

std::string say(language l, std::string_view english, std::initializer_list<argument> arguments) {
    return fill(translate(l, english), arguments);
}

}  // namespace scenario::i18n
