// Every view names the compiler's cell for a line's position: the page (its
// stations, its located lines, its error list), the editor's hover and the
// outline, at half cells (where the roundings part) and for items the compiler
// did not place; and the page's profile ends where the drawing's does.
#include "compiler/gradient_profile.h"
#include "compiler/route_facts.h"
#include "tests/support/route_fixtures.h"
#include "tools/core/memory_compile.h"
#include "tools/lsp/hover.h"
#include "tools/lsp/symbols.h"
#include "tools/view/view_model.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <string>

namespace scenario::view {
namespace {

// A 12 km route with a few items of each kind.
const std::string line_text =
    "[generale]\r\nlunghezza percorso,    12000\r\nprogressiva chilometrica uno,    0,    12000,    0\r\n"
    "progressiva chilometrica due,    0,    0,    0\r\nprogressiva chilometrica tre,    0,    0,    0\r\n"
    "sfondo uno,    1\r\nsfondo due,    2000\r\nsfondo tre,    4000\r\nripetizione segnali 4 codici,    0    "
    ",0\r\n"
    "[curve]\r\ncurvad5,  400,  550\r\n[pendenze]\r\npendenza,  0,  2\r\npendenza,  6000,  8\r\n"
    "[montagne]\r\nmontagna,   8000,  8300,  11\r\n[cartelli]\r\n"
    "indicatori_vmax,  4000,  75,  80,  80,  0,  ,  ,  ,  0\r\n[indicazioni]\r\n"
    "cartello_indicatore,  7900,   (VERDE)(300 m.)\r\n[fine]\r\n";
const std::string run_text =
    "[generale]\r\nnumero vetture,    3\r\npercentuale massa frenata,    120\r\nsabbia,    300\r\n"
    "orologio,    8              15            0\r\n[aderenze]\r\naderenza,   0,    100\r\n[vel_limite]\r\n"
    "velocita,       0,    80\r\n[stazioni]\r\n"
    "stazione,    5250, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,   30,  8,20, 0, MEZZO\r\n"
    "stazione,   11000, 12,  400,  0, 0, 0,  1,1,0,  2,1,1,    0,  8,28, 0, ULTIMA\r\n"
    "[rallentamenti]\r\n[abbattimenti]\r\n[segnali]\r\nsegnale,    3000,   1, 4, 1,  0, 0,    0,  0,0,0, "
    "0\r\n"
    "[codici]\r\n[fine]\r\n";

struct kind_case {
    line_item kind;
    sorgente_testo file;
    const char* after;  // the added line goes after the first line that starts so
    std::string (*line)(int64_t position);
};

std::string number(int64_t p) {
    return std::to_string(p);
}

const kind_case kinds[] = {
    {line_item::signal, sorgente_testo::corsa, "[segnali]",
     [](int64_t p) { return "segnale,    " + number(p) + ",   1, 4, 1,  0, 0,    0,  0,0,0, 0"; }},
    {line_item::slowdown, sorgente_testo::corsa, "[rallentamenti]",
     [](int64_t p) { return "rallentamento,   " + number(p) + ",    30,  300, 0,  1,  0"; }},
    {line_item::abbattimento, sorgente_testo::corsa, "[abbattimenti]",
     [](int64_t p) { return "abbattimento,   " + number(p) + ",    5"; }},
    {line_item::speed_limit, sorgente_testo::corsa, "velocita,",
     [](int64_t p) { return "velocita,    " + number(p) + ",    100"; }},
    {line_item::adhesion, sorgente_testo::corsa, "aderenza,",
     [](int64_t p) { return "aderenza,   " + number(p) + ",    85"; }},
    {line_item::station, sorgente_testo::corsa, "[stazioni]",
     [](int64_t p) {
         return "stazione,    " + number(p) + ", 22,  300,  0, 0, 1,  0,0,0,  4,1,1,   30,  8,10, 0, NUOVA";
     }},
    {line_item::speed_board, sorgente_testo::linea, "[cartelli]",
     [](int64_t p) { return "indicatori_vmax,  " + number(p) + ",  75,  80,  80,  0,  ,  ,  ,  0"; }},
    {line_item::tunnel_board, sorgente_testo::linea, "[indicazioni]",
     [](int64_t p) { return "cartello_indicatore,  " + number(p) + ",   (NUOVA)"; }},
    {line_item::gradient, sorgente_testo::linea, "pendenza,",
     [](int64_t p) { return "pendenza,  " + number(p) + ",  5"; }},
    {line_item::tunnel, sorgente_testo::linea, "[montagne]",
     [](int64_t p) { return "montagna,   " + number(p) + ",  " + number(p + 300) + ",  11"; }},
};

// The text with `added` after the first line that starts with `after`; the
// 1-based number of the added line.
std::pair<std::string, int> with_line(std::string text, const std::string& after, const std::string& added) {
    int number = 1;
    std::size_t at = 0;
    while (text.compare(at, after.size(), after) != 0) {
        at = text.find("\r\n", at) + 2;
        ++number;
    }
    at = text.find("\r\n", at) + 2;
    text.insert(at, added + "\r\n");
    return {std::move(text), number + 1};
}

// The cell N in "... cell N", after `before`.
std::optional<int64_t> cell_in(const std::string& text, const std::string& before = "") {
    std::smatch m;
    if (!std::regex_search(text, m, std::regex(before + "cell (-?[0-9]+)")))
        return std::nullopt;
    return std::stoll(m[1]);
}

TEST(CellsAgree, AtHalfCellsAndWhereNothingWasPlaced) {
    // Half cells near the start, and beyond the route (12000 m and the 7000 m
    // run-off): a board or a tunnel there stops the reading.
    for (const int64_t position : {75, 125, 175, 225, 19075, 19125}) {
        for (const kind_case& k : kinds) {
            const std::string added = k.line(position);
            SCOPED_TRACE(added);
            const bool on_line = k.file == sorgente_testo::linea;
            auto [edited, line] = with_line(on_line ? line_text : run_text, k.after, added);
            const std::string line_source = on_line ? edited : line_text;
            const std::string run_source = on_line ? run_text : edited;
            const int64_t rule = route::item_cell(k.kind, position);

            // The compiler placed the line's item by that rule, where it placed it.
            const tool::compiled_sources pair =
                tool::compile_texts(line_source, run_source, {"Prova", "101"}, true);
            const auto& origins = pair.log.cell_origins;
            for (std::size_t c = 0; c < origins.size(); ++c)
                if (origins[c].known && origins[c].source == k.file && origins[c].line == line &&
                    route::holds_an_item(pair.state->celle[c].tipo)) {
                    EXPECT_EQ(static_cast<int64_t>(c), rule) << "placed";
                }

            // The hover over the position value.
            const std::size_t column = added.find(number(position));
            const nlohmann::json hover =
                tool::lsp::hover_at(pair, k.file, line - 1, static_cast<int>(column));
            ASSERT_FALSE(hover.is_null());
            EXPECT_EQ(cell_in(hover["contents"]["value"].get<std::string>(), "route's start, "), rule)
                << "hover";

            // The outline's signals name their cell.
            if (k.kind == line_item::signal)
                for (const auto& section : tool::lsp::document_symbols(pair, k.file))
                    for (const auto& symbol : section["children"])
                        if (symbol["range"]["start"]["line"] == line - 1 &&
                            symbol["detail"] != "not placed") {
                            EXPECT_EQ(cell_in(symbol["detail"].get<std::string>()), rule) << "outline";
                        }

            // The page: the line located, its station, the cell of its error.
            const auto v =
                compile_view(line_source, run_source, "Prova", "101", {"Prova_linea.txt", "Prova_101-.txt"});
            const json located = locate_json(*v, on_line ? "line" : "run", line);
            // A tunnel's located cell is its first lamp mark, not an item.
            const bool item_cell =
                located["cells"].empty() ||
                route::holds_an_item(v->state().celle[located["cells"][0].get<std::size_t>()].tipo);
            if (!located["cell"].is_null() && item_cell) {
                EXPECT_EQ(located["cell"], rule) << "located";
            }
            const json m = model_json(*v);
            for (const json& st : m["stations"])
                if (st["position"] == position) {
                    EXPECT_EQ(st["cell"], rule) << "station";
                }
            for (const json& entry : m["problem_order"]) {
                if (entry[0] != "error" || entry[2].is_null())
                    continue;
                const json& e = m["errors"][entry[1].get<std::size_t>()];
                if (e["line"] == line && e["position"] == position) {
                    EXPECT_EQ(entry[2], rule) << "error list";
                }
            }
        }
    }
}

// The page's profile and the drawing's end at the route's end, 40,020 m (not
// a whole cell), and agree on every height the page gives.
TEST(CellsAgree, ProfileEndsWithTheRoute) {
    const auto v = compile_view(test_support::line_of_40020_metres(), testo_lista(sorgenti::righe_treno()),
                                "Calvena_Roccalba", "4127", {"l.txt", "r.txt"});
    const json m = model_json(*v);
    const route::gradient_profile drawn = route::profile_of(v->state().celle, m["length"].get<int64_t>());
    ASSERT_EQ(m["length"], 40020);
    EXPECT_EQ(drawn.heights.back().first, 40020);
    EXPECT_EQ(m["profile"].back()[0], 40020);
    std::size_t at = 0;
    for (const json& point : m["profile"]) {
        while (at < drawn.heights.size() && drawn.heights[at].first < point[0].get<int64_t>())
            ++at;
        ASSERT_LT(at, drawn.heights.size());
        EXPECT_EQ(drawn.heights[at].first, point[0]);
        EXPECT_EQ(std::round(drawn.heights[at].second * 100.0) / 100.0, point[1].get<double>());
    }
}

}  // namespace
}  // namespace scenario::view
