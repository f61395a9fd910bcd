// The language the user's system asks for, one file per platform: the locale
// variables on Linux, the user's interface language on Windows.
#pragma once

#include "tools/i18n/language.h"

#include <optional>

namespace scenario::i18n {

// The system's choice: on Linux language_from_environment() of the process's
// variables; on Windows Italian when the user's interface language is Italian.
language system_language();

// The language to speak: the one asked for with `--lang` when given, else the
// system's.
language choose_language(std::optional<language> asked);

}  // namespace scenario::i18n
