#include "tools/lsp/editor_text.h"

#include "tools/words/text_encoding.h"

#include <cstdio>
#include <optional>

namespace scenario::tool::lsp {

encoded_text to_windows1252(std::string_view utf8) {
    encoded_text e;
    e.bytes.reserve(utf8.size());
    int32_t line = 0;
    int32_t column = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = next_code_point(utf8, i);
        if (const std::optional<char> byte = windows1252_byte(c)) {
            e.bytes += *byte;
            ++column;
            if (c == '\n') {
                ++line;
                column = 0;
            }
            continue;
        }
        const int32_t units = c > 0xFFFF ? 2 : 1;
        e.lost.push_back({line, column, units, c});
        e.bytes.append(static_cast<std::size_t>(units), '?');
        column += units;
    }
    return e;
}

std::string code_point_name(char32_t c) {
    char t[16];
    std::snprintf(t, sizeof t, "U+%04X", static_cast<unsigned>(c));
    return t;
}

}  // namespace scenario::tool::lsp
