// Filling named placeholders; the same grammar as the catalogue's brace format.
#include "tools/i18n/fill.h"

namespace scenario::i18n {

namespace {

bool name_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The length of the placeholder "{name}" at `at` (pattern[at] == '{'), or 0
// when none starts there.
std::size_t placeholder_at(std::string_view pattern, std::size_t at) {
    std::size_t end = at + 1;
    while (end < pattern.size() && name_char(pattern[end]))
        ++end;
    return end > at + 1 && end < pattern.size() && pattern[end] == '}' ? end + 1 - at : 0;
}

}  // namespace

std::string fill(std::string_view pattern, std::initializer_list<argument> arguments) {
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if ((c == '{' || c == '}') && i + 1 < pattern.size() && pattern[i + 1] == c) {
            out += c;
            i += 2;
            continue;
        }
        const std::size_t length = c == '{' ? placeholder_at(pattern, i) : 0;
        if (length == 0) {
            out += c;
            ++i;
            continue;
        }
        const std::string_view name = pattern.substr(i + 1, length - 2);
        const argument* found = nullptr;
        for (const argument& a : arguments)
            if (a.name == name)
                found = &a;
        out += found ? std::string_view(found->value) : pattern.substr(i, length);
        i += length;
    }
    return out;
}

result<std::set<std::string>> placeholder_names(std::string_view pattern) {
    std::set<std::string> names;
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if ((c == '{' || c == '}') && i + 1 < pattern.size() && pattern[i + 1] == c) {
            i += 2;
            continue;
        }
        if (c == '}')
            return failure{"a lone '}' at " + std::to_string(i)};
        if (c != '{') {
            ++i;
            continue;
        }
        const std::size_t length = placeholder_at(pattern, i);
        if (length == 0)
            return failure{"a '{' at " + std::to_string(i) + " opens no placeholder of a plain name"};
        names.emplace(pattern.substr(i + 1, length - 2));
        i += length;
    }
    return names;
}

}  // namespace scenario::i18n
