#include "tools/lsp/editor_text.h"

#include <array>
#include <cstdio>
#include <optional>

namespace scenario::tool::lsp {

namespace {

// The code points of bytes 0x80 to 0x9F in Windows-1252.
constexpr std::array<char16_t, 32> high_controls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<char> byte_of(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < high_controls.size(); ++i)
        if (high_controls[i] == c)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

// The next code point of `s` from `i`, moving `i` past it.
char32_t next_code_point(std::string_view s, std::size_t& i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = b(i);
    int extra = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        c = lead & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + static_cast<std::size_t>(extra) >= s.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        const unsigned char t = b(i + static_cast<std::size_t>(k));
        if ((t & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (t & 0x3F);
    }
    const bool overlong = (extra == 2 && c < 0x800) || (extra == 3 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += static_cast<std::size_t>(extra) + 1;
    return c;
}

}  // namespace

encoded_text to_windows1252(std::string_view utf8) {
    encoded_text e;
    e.bytes.reserve(utf8.size());
    int32_t line = 0;
    int32_t column = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = next_code_point(utf8, i);
        if (const std::optional<char> byte = byte_of(c)) {
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
