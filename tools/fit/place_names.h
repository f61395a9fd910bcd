// Names from a map as the program writes them: upper case, in Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace scenario::fit {

// The name in upper case Windows-1252 bytes. A letter the code page holds
// stays (È, Ñ, Š); any other Latin letter loses its marks (ł -> L, ő -> O,
// ș -> S); combining marks, control characters, commas and double quotes
// (which would end or open a field of the sources) and characters with no
// Latin letter behind them are left out; runs of blanks become one.
std::string place_name(std::string_view utf8);

}  // namespace scenario::fit
