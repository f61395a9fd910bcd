// The lines of the two text sources as the program's own writers lay them
// out (a keyword, a comma, values padded after their commas), and the bytes
// of a file from its lines.
#pragma once

#include "tools/fit/fit_line.h"

#include <cstdint>
#include <string>
#include <vector>

namespace scenario::fit {

// "curvad5,  400,  550": the class digit; "s" turns left.
std::string curve_entry(const curve_line& c);
// "pendenza,  550,   12"
std::string gradient_entry(const gradient_line& g);
// "lunghezza percorso,    40000"
std::string length_entry(int64_t length);

// The lines each followed by CR LF.
std::string file_bytes(const std::vector<std::string>& lines);

}  // namespace scenario::fit
