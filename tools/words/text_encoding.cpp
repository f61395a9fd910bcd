#include "tools/words/text_encoding.h"

#include <array>
#include <cstdint>

namespace scenario::tool {

namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones map to themselves.
constexpr std::array<char32_t, 32> cp1252_high = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Length of the valid UTF-8 sequence at the start of `t`, or 0 when it is not one.
std::size_t valid_sequence(std::string_view t) {
    const auto b = [&](std::size_t i) { return static_cast<uint8_t>(t[i]); };
    const uint8_t lead = b(0);
    if (lead < 0x80)
        return 1;
    std::size_t n = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        c = lead & 0x07;
    } else {
        return 0;
    }
    if (t.size() < n)
        return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (b(i) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are not valid.
    if ((n == 3 && c < 0x800) || (n == 4 && c < 0x10000) || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return n;
}

}  // namespace

std::string from_windows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto b = static_cast<uint8_t>(ch);
        if (b < 0x80)
            out.push_back(ch);
        else if (b < 0xA0)
            append_utf8(out, cp1252_high[b - 0x80]);
        else
            append_utf8(out, b);  // 0xA0..0xFF are Latin-1
    }
    return out;
}

std::string valid_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t n = valid_sequence(text);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            text.remove_prefix(1);
        } else {
            out.append(text.substr(0, n));
            text.remove_prefix(n);
        }
    }
    return out;
}

std::string to_windows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();)
        out.push_back(windows1252_byte(next_code_point(utf8, i)).value_or('?'));
    return out;
}

char32_t next_code_point(std::string_view utf8, std::size_t& i) {
    const std::size_t n = valid_sequence(utf8.substr(i));
    if (n == 0) {
        ++i;
        return 0xFFFD;
    }
    const auto b = [&](std::size_t k) { return static_cast<uint8_t>(utf8[i + k]); };
    char32_t c = n == 1 ? b(0) : n == 2 ? b(0) & 0x1F : n == 3 ? b(0) & 0x0F : b(0) & 0x07;
    for (std::size_t k = 1; k < n; ++k)
        c = (c << 6) | (b(k) & 0x3F);
    i += n;
    return c;
}

std::optional<char> windows1252_byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t k = 0; k < cp1252_high.size(); ++k)
        if (cp1252_high[k] == c)
            return static_cast<char>(0x80 + k);
    return std::nullopt;
}

}  // namespace scenario::tool
