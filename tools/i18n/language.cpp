// Reading a request for a language: tags, the environment, Accept-Language.
#include "tools/i18n/language.h"

#include <cstddef>
#include <string>

namespace scenario::i18n {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// A quality value of Accept-Language in thousandths ("0.8" is 800), or none
// when it is not one: "0" or "1", optionally with up to three decimals, never
// above 1.
std::optional<int> quality(std::string_view q) {
    if (q.empty() || (q[0] != '0' && q[0] != '1'))
        return std::nullopt;
    int value = (q[0] - '0') * 1000;
    if (q.size() == 1)
        return value;
    if (q[1] != '.' || q.size() > 5)
        return std::nullopt;
    int scale = 100;
    for (std::size_t i = 2; i < q.size(); ++i, scale /= 10) {
        if (q[i] < '0' || q[i] > '9')
            return std::nullopt;
        value += (q[i] - '0') * scale;
    }
    return value <= 1000 ? std::optional<int>(value) : std::nullopt;
}

// The quality an Accept-Language entry's parameters give it: 1000 without q,
// none when a q is malformed.
std::optional<int> entry_quality(std::string_view parameters) {
    int q = 1000;
    while (!parameters.empty()) {
        const std::size_t semicolon = parameters.find(';');
        const std::string_view p = trimmed(parameters.substr(0, semicolon));
        parameters =
            semicolon == std::string_view::npos ? std::string_view() : parameters.substr(semicolon + 1);
        if (p.size() >= 2 && lower(p[0]) == 'q' && p[1] == '=') {
            const std::optional<int> v = quality(trimmed(p.substr(2)));
            if (!v)
                return std::nullopt;
            q = *v;
        }
    }
    return q;
}

}  // namespace

std::optional<language> language_of_tag(std::string_view tag) {
    const std::size_t end = tag.find_first_of("-_.@");
    const std::string_view primary = tag.substr(0, end);
    if (primary.size() != 2)
        return std::nullopt;
    const char a = lower(primary[0]), b = lower(primary[1]);
    if (a == 'i' && b == 't')
        return language::italian;
    if (a == 'e' && b == 'n')
        return language::english;
    return std::nullopt;
}

std::optional<language> language_option(std::string_view value) {
    if (value == "it")
        return language::italian;
    if (value == "en")
        return language::english;
    return std::nullopt;
}

language language_from_environment(const std::function<const char*(const char*)>& variable) {
    std::string_view locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = variable(name);
        if (v != nullptr && *v != '\0') {
            locale = v;
            break;
        }
    }
    if (locale.empty() || locale == "C" || locale == "POSIX" || locale.substr(0, 2) == "C.")
        return language::english;
    const char* list = variable("LANGUAGE");
    if (list != nullptr && *list != '\0') {
        std::string_view rest = list;
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            if (const std::optional<language> l = language_of_tag(rest.substr(0, colon)))
                return *l;
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
        // Only languages the tool does not have: its source text.
        return language::english;
    }
    return language_of_tag(locale).value_or(language::english);
}

std::optional<language> language_of_accept_language(std::string_view header) {
    std::optional<language> best;
    int best_quality = 0;
    while (!header.empty()) {
        const std::size_t comma = header.find(',');
        const std::string_view entry = header.substr(0, comma);
        header = comma == std::string_view::npos ? std::string_view() : header.substr(comma + 1);
        const std::size_t semicolon = entry.find(';');
        const std::optional<language> l = language_of_tag(trimmed(entry.substr(0, semicolon)));
        if (!l)
            continue;
        const std::optional<int> q = semicolon == std::string_view::npos
                                         ? std::optional<int>(1000)
                                         : entry_quality(entry.substr(semicolon + 1));
        if (q && *q > best_quality) {
            best = l;
            best_quality = *q;
        }
    }
    return best;
}

std::optional<language> language_of_editor_locale(std::string_view locale) {
    return language_of_tag(locale);
}

std::string_view language_code(language l) {
    return l == language::italian ? "it" : "en";
}

}  // namespace scenario::i18n
