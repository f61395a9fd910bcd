// The system's language on Windows: the user's interface language. The locale
// variables are a Unix convention and are not read here.
#include "tools/i18n/system_language.h"

#include <windows.h>

namespace scenario::i18n {

language system_language() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_ITALIAN ? language::italian : language::english;
}

language choose_language(std::optional<language> asked) {
    return asked ? *asked : system_language();
}

}  // namespace scenario::i18n
