// The languages the tool speaks, and how a request for one is read: a locale
// name, an HTTP Accept-Language header, an editor's locale, the environment.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

namespace scenario::i18n {

// English is the source text; Italian comes from the catalogue.
enum class language { english, italian };

// The language a tag names by its primary part, case-insensitively: "it",
// "it_IT.UTF-8", "it-CH", "IT" are Italian; "en", "en_GB" English; any other
// ("fr", "C", "") none.
std::optional<language> language_of_tag(std::string_view tag);

// The value of `--lang`: exactly "it" or "en"; none for anything else.
std::optional<language> language_option(std::string_view value);

// The language the locale variables ask for, read as gettext reads them: the
// locale is the first non-empty of LC_ALL, LC_MESSAGES, LANG; when it is unset,
// "C", "POSIX" or "C.<codeset>" the answer is English whatever LANGUAGE says
// (so `LC_ALL=C` always gives English); otherwise the first entry of the
// colon list LANGUAGE that names Italian or English decides, and when LANGUAGE
// is empty, the locale itself. `variable` gives a variable's value, or null.
language language_from_environment(const std::function<const char*(const char*)>& variable);

// The language an HTTP Accept-Language header prefers among Italian and
// English: the one with the higher quality, the earlier on a tie; none when it
// names neither (then the caller's own choice stands). Entries with q=0 or a
// malformed q are not wanted.
std::optional<language> language_of_accept_language(std::string_view header);

// The language of an editor's `locale` from LSP `initialize` ("it", "it-IT",
// "en-us"); none for any other or an absent one.
std::optional<language> language_of_editor_locale(std::string_view locale);

// The short name used on the command line and in pages: "en" or "it".
std::string_view language_code(language l);

}  // namespace scenario::i18n
