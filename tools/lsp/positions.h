// Places in a source's bytes as the editor counts them: 0-based lines and
// UTF-16 columns, which equal byte columns for Windows-1252 text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string_view>
#include <vector>

namespace scenario::tool::lsp {

class line_index {
public:
    explicit line_index(std::string_view bytes);

    // The byte offset of a 1-based line and 1-based byte column (columns
    // past the line's end count on into the next lines, as a quoted field
    // over several lines does); clamped to the text.
    std::size_t offset(int32_t line, int32_t column) const;
    // The end of a 1-based line's text, before its line break.
    std::size_t line_end(int32_t line) const;
    std::size_t line_start(int32_t line) const;

    // An LSP Position {line, character} of a byte offset.
    nlohmann::json position(std::size_t offset) const;
    // An LSP Range of the bytes [first, last).
    nlohmann::json range(std::size_t first, std::size_t last) const;
    // The range of a 1-based line's text.
    nlohmann::json whole_line(int32_t line) const;

private:
    std::string_view bytes_;
    std::vector<std::size_t> starts_;
};

}  // namespace scenario::tool::lsp
