// The program's own sources as examples for the editor: for each keyword the
// first line the program writes with exactly its fields, as a snippet, and
// the headings of each source in the program's order.
#pragma once

#include "compiler/keywords.h"

#include <map>
#include <string>
#include <vector>

namespace scenario::tool::lsp {

struct program_line {
    std::string snippet;  // the line with each value a tab stop holding the program's value
    std::string heading;  // the heading the line stands under
    std::string keyword;  // the keyword field as the line writes it (the snippet starts with it)
};

struct program_lines {
    std::map<keyword, program_line> lines;
    std::vector<std::string> line_headings;  // "[generale]", "[curve]" ...
    std::vector<std::string> run_headings;   // "[generale]", "[aderenze]" ...
};

// Worked out once from a compile of the program's own sources.
const program_lines& program_examples();

// A snippet for a keyword the program never writes: its spelling and each
// value's sample.
std::string built_snippet(const keyword_row& row);

// Text as a snippet's plain part: "$", "}" and "\" escaped.
std::string snippet_text(std::string_view text);

}  // namespace scenario::tool::lsp
