#include "sources/notes_layout.h"

#include <sstream>

namespace scenario::sorgenti {

std::vector<std::string> wrap_point(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word;
    std::string line = " -";
    bool empty = true;  // the line has no word yet
    while (words >> word) {
        if (!empty && line.size() + 1 + word.size() > notes_width) {
            lines.push_back(line);
            line = "  ";
            empty = true;
        }
        line += " " + word;
        empty = false;
    }
    lines.push_back(line);
    return lines;
}

lista_righe notes_lines(const scenario_notes& n) {
    lista_righe l;
    l.push_back("               Treno " + n.train + " sul percorso " + n.route);
    l.emplace_back("");
    l.emplace_back(" Note sullo scenario:");
    l.emplace_back("");
    for (const std::string& p : n.points)
        for (std::string& line : wrap_point(p))
            l.push_back(std::move(line));
    for (const std::vector<std::string>& paragraph : n.closing) {
        l.emplace_back("");
        for (const std::string& line : paragraph)
            l.push_back(" " + line);
    }
    l.emplace_back(marcatore_fine);
    return l;
}

}  // namespace scenario::sorgenti
