#include "tools/lsp/place_words.h"

#include "compiler/route_facts.h"
#include "tools/lsp/field_lookup.h"
#include "tools/words/km_words.h"
#include "tools/words/text_encoding.h"

namespace scenario::tool::lsp {

bool is_position(const keyword_row& row, std::size_t index) {
    if (row.section == keyword_section::general || index >= row.values.size() ||
        row.values[index].unit != "m")
        return false;
    return index == 0 || (row.id == keyword::tunnel && index == 1);
}

std::optional<std::size_t> item_cell(const compiled_sources& pair, int32_t keyword_field) {
    const auto& origins = pair.log.cell_origins;
    const auto& celle = pair.state->celle;
    for (std::size_t c = 0; c < origins.size() && c < celle.size(); ++c)
        if (origins[c].known && origins[c].keyword_field == keyword_field &&
            route::holds_an_item(celle[c].tipo))
            return c;
    return std::nullopt;
}

std::string cell_words(const compiled_sources& pair, std::size_t index) {
    const auto& celle = pair.state->celle;
    if (index >= celle.size())
        return "beyond the route's cells";
    const cella& c = celle[index];
    std::string t;
    if (c.tipo == tipo_cella::libera) {
        t = "nothing";
    } else if (const auto kind = route::cell_kind(c.tipo)) {
        t = kind->phrase;
    } else {
        t = "cell kind " + std::to_string(c.tipo);
    }
    if (const auto record = route::record_of_cell(c)) {
        const std::string name =
            valid_utf8(from_windows1252(pair.state->voci[static_cast<std::size_t>(*record)].testo));
        if (!name.empty())
            t += " (" + name + ")";
    }
    t += "; limit " + std::to_string(route::cell_speed_kmh(c)) + " km/h, gradient " +
         std::to_string(route::cell_gradient(c)) + " per mille";
    if (c.galleria != 0)
        t += ", in a tunnel of class " + std::to_string(c.galleria);
    return t;
}

std::string place_words(const compiled_sources& pair, int32_t keyword_field, const keyword_row& row,
                        std::size_t index, int64_t metres) {
    std::string t = km_words(metres) + " from the route's start";
    // The cell the compiler placed the line's item in; where it placed
    // nothing, the cell it would have, by its own rule (-1: none).
    int64_t cell = -1;
    if (const std::optional<std::size_t> placed = index == 0 ? item_cell(pair, keyword_field) : std::nullopt)
        cell = static_cast<int64_t>(*placed);
    else if (route::has_item_cell(row.item))
        cell = row.id == keyword::tunnel && index == 1 ? route::tunnel_last_cell(metres)
                                                       : route::item_cell(row.item, metres);
    if (cell >= 0)
        t += ", cell " + std::to_string(cell) + ": " + cell_words(pair, static_cast<std::size_t>(cell));
    return t;
}

}  // namespace scenario::tool::lsp
