// The system's language on Linux: the locale variables, read as variables (the
// tool keeps the C locale, so no number ever takes a comma).
#include "tools/i18n/system_language.h"

#include <cstdlib>

namespace scenario::i18n {

language system_language() {
    return language_from_environment([](const char* name) { return std::getenv(name); });
}

language choose_language(std::optional<language> asked) {
    return asked ? *asked : system_language();
}

}  // namespace scenario::i18n
