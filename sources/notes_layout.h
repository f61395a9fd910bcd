// The scenario notes' layout from plain data: the title with the train and
// the route, the heading, the points, and closing paragraphs.
#pragma once

#include "common/line_list.h"

#include <string>
#include <vector>

namespace scenario::sorgenti {

struct scenario_notes {
    std::string train;
    std::string route;                // "Calvena - Roccalba Terme"
    std::vector<std::string> points;  // each opened by " - ", wrapped at 77 characters
    std::vector<std::vector<std::string>>
        closing;  // paragraphs after an empty line, each line indented by one blank
};

inline constexpr std::size_t notes_width = 77;

// The notes' lines, closed by the end marker.
lista_righe notes_lines(const scenario_notes& notes);

// A point wrapped between words: " - " on the first line, three blanks on the
// others, no line longer than `notes_width` unless one word is.
std::vector<std::string> wrap_point(const std::string& text);

}  // namespace scenario::sorgenti
