#include "tools/fit/place_names.h"

#include "tools/words/text_encoding.h"

#include <optional>

namespace scenario::fit {

namespace {

// The base letters of U+0100..U+017F, upper case ('#': the ligature IJ).
constexpr std::string_view latin_extended_a =
    "AAAAAACCCCCCCCDDDDEEEEEEEEEEGGGGGGGGHHHHIIIIIIIIII##JJKKKLLLLLLLLLLNNNNNNNNNOOOOOO"
    "OORRRRRRSSSSSSSSTTTTTTUUUUUUUUUUUUWWYYYZZZZZZS";

// Upper case of the letters whose capital the code page holds.
char32_t upper(char32_t c) {
    if (c >= U'a' && c <= U'z')
        return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    switch (c) {
        case 0xFF:
            return 0x178;
        case 0x153:
            return 0x152;
        case 0x161:
            return 0x160;
        case 0x17E:
            return 0x17D;
        default:
            return c;
    }
}

// The letters for a character the code page lacks: its base letter(s).
std::string_view base_letters(char32_t c) {
    if (c >= 0x100 && c <= 0x17F) {
        const char b = latin_extended_a[c - 0x100];
        if (b == '#')
            return "IJ";
        return latin_extended_a.substr(c - 0x100, 1);
    }
    switch (c) {
        case 0x218:  // Ș ș
        case 0x219:
            return "S";
        case 0x21A:  // Ț ț
        case 0x21B:
            return "T";
        case 0x1E9E:  // ẞ
            return "SS";
        default:
            return {};
    }
}

}  // namespace

std::string place_name(std::string_view utf8) {
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char32_t c = upper(tool::next_code_point(utf8, i));
        if (c == U',' || c == U'"' || c < 0x20 || (c >= 0x7F && c < 0xA0) || (c >= 0x300 && c < 0x370))
            continue;
        if (c == U' ' || c == 0xA0) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
            continue;
        }
        if (std::optional<char> b = tool::windows1252_byte(c)) {
            out += *b;
            continue;
        }
        out += base_letters(c);
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

}  // namespace scenario::fit
