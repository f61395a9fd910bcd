// The bytes of po/it.po compiled by msgfmt, built into the executable by
// embed_catalogue.cmake: no catalogue is looked up at run time.
#pragma once

#include <span>

namespace scenario::i18n {

std::span<const unsigned char> italian_catalogue_bytes();

}  // namespace scenario::i18n
