// Whole sentences with named placeholders: "the value {value} of {keyword}"
// filled from named arguments, so a translation can reorder them.
#pragma once

#include "common/result.h"

#include <concepts>
#include <initializer_list>
#include <set>
#include <string>
#include <string_view>

namespace scenario::i18n {

// A named value for a placeholder. Numbers come as integers or as text the
// caller has already formatted the program's way ("6.000", "8.06"): a double
// is not taken, so no locale can ever put a comma into one.
struct argument {
    argument(std::string_view n, std::string_view v) : name(n), value(v) {}
    argument(std::string_view n, const char* v) : name(n), value(v) {}
    argument(std::string_view n, const std::string& v) : name(n), value(v) {}
    template <std::integral I>
    requires(!std::same_as<I, bool> && !std::same_as<I, char>) argument(std::string_view n, I v)
        : name(n), value(std::to_string(v)) {}

    std::string_view name;
    std::string value;
};

// `pattern` with each "{name}" replaced by the argument of that name; "{{" and
// "}}" stand for one brace. A placeholder without an argument stays as written
// and an argument without a placeholder is ignored: a faulty translation shows
// its fault in the text and never stops the tool.
std::string fill(std::string_view pattern, std::initializer_list<argument> arguments);

// The names of `pattern`'s placeholders, or why it is not a valid pattern (a
// lone brace, an empty name, a name of other than letters, digits and '_').
result<std::set<std::string>> placeholder_names(std::string_view pattern);

}  // namespace scenario::i18n
