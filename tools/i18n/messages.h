// The author's words in the chosen language. Each English text is marked for
// extraction by the function that translates it (po/update.sh lists them):
// translate, translate_in_context, translate_count, say and to_translate.
#pragma once

#include "tools/i18n/catalogue.h"
#include "tools/i18n/fill.h"
#include "tools/i18n/language.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace scenario::i18n {

// The Italian catalogue built into the executable (empty if it were damaged,
// so every text falls back to English).
const catalogue& italian_catalogue();

// `english` in language `l`; English itself when the catalogue has no entry.
// `english` is a string literal: the answer may be it.
std::string_view translate(language l, std::string_view english);

// The same, for a text whose meaning needs a context ("line" as a track or as
// a row of text); the catalogue keys it as "context\x04text".
std::string_view translate_in_context(language l, std::string_view context, std::string_view english);

// The form for `n` of a text with a singular and a plural; both languages
// take the singular for 1 only.
std::string_view translate_count(language l, std::string_view singular, std::string_view plural,
                                 std::uint64_t n);

// translate() and fill() in one: the sentence in `l` with its placeholders filled.
std::string say(language l, std::string_view english, std::initializer_list<argument> arguments = {});

// Marks a text for the catalogue where it is written and translated elsewhere
// (a table of English descriptions); gives it back unchanged.
constexpr std::string_view to_translate(std::string_view english) {
    return english;
}

}  // namespace scenario::i18n
