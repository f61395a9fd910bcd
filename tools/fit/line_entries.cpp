#include "tools/fit/line_entries.h"

namespace scenario::fit {

std::string curve_entry(const curve_line& c) {
    return std::string(c.left ? "curvas" : "curvad") + std::to_string(c.curve_class) + ",  " +
           std::to_string(c.start) + ",  " + std::to_string(c.length);
}

std::string gradient_entry(const gradient_line& g) {
    return "pendenza,  " + std::to_string(g.position) + ",   " + std::to_string(g.per_mille);
}

std::string length_entry(int64_t length) {
    return "lunghezza percorso,    " + std::to_string(length);
}

std::string file_bytes(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

}  // namespace scenario::fit
