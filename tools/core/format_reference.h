// The format of the two text sources as an author reads it: every keyword row
// of the readers' tables with an example line, the general rules, and the
// lookup of a word an author types.
#pragma once

#include "compiler/keywords.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::tool {

// One value the program's own sources give a field, and the lines that give it.
struct program_value {
    std::string value;           // the number as read, or the text
    std::vector<int32_t> lines;  // 1-based, ascending
};

struct reference_entry {
    const keyword_row* row = nullptr;
    std::string title;                 // the writer's spelling, or the test's words
    std::string example;               // one line of the source, without its line end
    bool example_from_writer = false;  // false: built from the row
    // For each value field, the values the program's own sources give it, in
    // the order they first appear (none for a keyword the program never writes).
    std::vector<std::vector<program_value>> program_values;
};

// Every row of the three tables, in the order the readers test them.
std::vector<reference_entry> format_reference();

// The rows a word names: one whose writer spelling (or title) it is, else
// those whose reader test accepts it, else those whose writer spelling holds it.
std::vector<const reference_entry*> find_keyword(const std::vector<reference_entry>& reference,
                                                 std::string_view word);

// The rules every line of both sources follows, one sentence each.
std::span<const std::string_view> format_rules();

// "line description, general section", "line description, body", "run description".
std::string_view section_name(keyword_section s);
// "32-bit signed", "16-bit signed", "8-bit unsigned (0 to 255)", "text".
std::string_view width_name(field_width w);
// How the keyword field is recognised, in words.
std::string recognition(const keyword_row& row);
// "0 (lines 33-38, 41), 1 (line 40)": at most `most` values, then how many more.
std::string program_values_text(const std::vector<program_value>& values, std::size_t most);

}  // namespace scenario::tool
