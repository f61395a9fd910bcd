// An editor's Unicode text turned back into the Windows-1252 bytes that
// saving it would write, so that the compiler reads what the author will save.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::tool::lsp {

// A character Windows-1252 cannot hold.
struct unencodable {
    int32_t line = 0;    // 0-based
    int32_t column = 0;  // 0-based, in UTF-16 units (equal to the byte column)
    int32_t units = 1;   // its UTF-16 units: 2 for a character beyond U+FFFF
    char32_t code_point = 0;
};

struct encoded_text {
    // One byte per UTF-16 unit of the text: a character that cannot be
    // encoded becomes one '?' per unit, so every byte column equals the
    // editor's UTF-16 column.
    std::string bytes;
    std::vector<unencodable> lost;
};

// UTF-8 text (invalid sequences count as U+FFFD) as Windows-1252 bytes.
// U+0081, U+008D, U+008F, U+0090 and U+009D stand for the bytes the code
// page leaves undefined, as the tool reads them.
encoded_text to_windows1252(std::string_view utf8);

// "U+1F600".
std::string code_point_name(char32_t c);

}  // namespace scenario::tool::lsp
