// Fixed-width fields of the documents' boxes and tables: text padded,
// centred or cut to a width.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace scenario::sorgenti {

// `text` after `offset` blanks, padded with blanks or cut to `width`.
inline std::string field_at(std::string_view text, std::size_t offset, std::size_t width) {
    std::string f(offset, ' ');
    f += text;
    f.resize(width, ' ');
    return f;
}

// `text` centred in `width`, the odd blank on the right; cut when too long.
inline std::string field_centred(std::string_view text, std::size_t width) {
    if (text.size() >= width)
        return std::string(text.substr(0, width));
    return field_at(text, (width - text.size()) / 2, width);
}

// `text` ending at `end` characters into a field of `width`.
inline std::string field_right(std::string_view text, std::size_t end, std::size_t width) {
    if (text.size() >= end)
        return field_at(text, 0, width);
    return field_at(text, end - text.size(), width);
}

}  // namespace scenario::sorgenti
