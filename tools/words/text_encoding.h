// Turning the 8-bit texts of the scenario files into UTF-8 for JSON and SVG.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace scenario::tool {

// Windows-1252 bytes (the code page of texts in the compiled files and the
// text sources) as UTF-8. Bytes the code page leaves undefined keep their
// code point (U+0081, U+008D, ...), so nothing is lost.
std::string from_windows1252(std::string_view text);

// `text` with every byte sequence that is not valid UTF-8 replaced by U+FFFD,
// for texts of unknown origin (file paths, command-line arguments).
std::string valid_utf8(std::string_view text);

// UTF-8 as Windows-1252 bytes, for texts an author typed that go into the
// documents; a character the code page lacks, or a byte that is not UTF-8,
// becomes '?'.
std::string to_windows1252(std::string_view utf8);

// The code point of the UTF-8 sequence at byte `i`, moving `i` past it; a
// byte that does not start a valid sequence reads as U+FFFD and moves `i`
// by one.
char32_t next_code_point(std::string_view utf8, std::size_t& i);

// The Windows-1252 byte of code point `c`; none when the code page lacks it.
// U+0081, U+008D, U+008F, U+0090 and U+009D stand for the bytes the code
// page leaves undefined, as from_windows1252 reads them.
std::optional<char> windows1252_byte(char32_t c);

}  // namespace scenario::tool
