// Case folding for keyword tests: only the ASCII letters A-Z are folded, so a
// keyword test never depends on the system's locale or code page.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

inline std::string lower_ascii(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lowered;
}

}  // namespace scenario
