// The outline of the program's own sources: its sections in order, and the
// stations, signals, slowdowns, tunnels and boards in them, named and placed.
#include "tools/lsp/symbols.h"

#include "tests/lsp/program_pair.h"
#include "tests/support/route_fixtures.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scenario::tool::lsp {
namespace {

using test_support::program_pair;

std::vector<std::string> names(const nlohmann::json& symbols) {
    std::vector<std::string> n;
    for (const auto& s : symbols)
        n.push_back(s["name"]);
    return n;
}

const nlohmann::json& section(const nlohmann::json& outline, const std::string& name) {
    for (const auto& s : outline)
        if (s["name"] == name)
            return s;
    static const nlohmann::json none = nlohmann::json::object();
    ADD_FAILURE() << "no section " << name;
    return none;
}

std::pair<int, int> at(const nlohmann::json& p) {
    return {p["line"].get<int>(), p["character"].get<int>()};
}

// Every symbol's selection lies in its range, and every child's range in its parent's.
void expect_nested(const nlohmann::json& symbol) {
    EXPECT_LE(at(symbol["range"]["start"]), at(symbol["selectionRange"]["start"])) << symbol["name"];
    EXPECT_GE(at(symbol["range"]["end"]), at(symbol["selectionRange"]["end"])) << symbol["name"];
    EXPECT_FALSE(symbol["name"].get<std::string>().empty());
    for (const auto& child : symbol["children"]) {
        EXPECT_LE(at(symbol["range"]["start"]), at(child["range"]["start"])) << child["name"];
        EXPECT_GE(at(symbol["range"]["end"]), at(child["range"]["end"])) << child["name"];
        expect_nested(child);
    }
}

TEST(Symbols, TheLineDescriptionsOutline) {
    const nlohmann::json outline = document_symbols(program_pair(), sorgente_testo::linea);
    EXPECT_EQ(names(outline), (std::vector<std::string>{"[generale]", "[curve]", "[pendenze]", "[montagne]",
                                                        "[cartelli]", "[indicazioni]", "[fine]"}));
    for (const auto& s : outline)
        expect_nested(s);
    EXPECT_EQ(section(outline, "[generale]")["children"].size(), 8u);
    EXPECT_EQ(section(outline, "[generale]")["range"]["start"]["line"], 2);
    EXPECT_EQ(section(outline, "[generale]")["range"]["end"]["line"], 10);
    EXPECT_EQ(section(outline, "[pendenze]")["children"].size(), 32u);
    const nlohmann::json& tunnels = section(outline, "[montagne]")["children"];
    ASSERT_EQ(tunnels.size(), 42u);
    EXPECT_EQ(tunnels[0]["name"], "(VAIONI)(535 m.)");
    EXPECT_EQ(tunnels[0]["detail"], "km 5.800 to 6.350");
    EXPECT_EQ(tunnels[41]["name"], "(MADONNA)(261 m. )");
    const nlohmann::json& boards = section(outline, "[indicazioni]")["children"];
    ASSERT_EQ(boards.size(), 43u);
    EXPECT_EQ(boards[24]["name"], "(APPENNINO)(2727 m.  )");
    EXPECT_EQ(boards[24]["detail"], "km 22.000");
    EXPECT_EQ(section(outline, "[cartelli]")["children"][0]["name"], "maximum-speed board");
}

TEST(Symbols, TheRunDescriptionsOutline) {
    const nlohmann::json outline = document_symbols(program_pair(), sorgente_testo::corsa);
    EXPECT_EQ(names(outline),
              (std::vector<std::string>{"[generale]", "[aderenze]", "[vel_limite]", "[stazioni]",
                                        "[rallentamenti]", "[segnali]", "[codici]", "[fine]"}));
    for (const auto& s : outline)
        expect_nested(s);
    const nlohmann::json& stations = section(outline, "[stazioni]")["children"];
    EXPECT_EQ(names(stations), test_support::program_stations());
    EXPECT_EQ(stations[1]["detail"], "km 1.800");
    EXPECT_EQ(stations[1]["range"]["start"]["line"], 33);
    const nlohmann::json& signals = section(outline, "[segnali]")["children"];
    ASSERT_EQ(signals.size(), 12u);
    EXPECT_EQ(signals[0]["name"], "signal km 3.650");
    EXPECT_EQ(signals[0]["detail"], "cell 74");
    const nlohmann::json& slowdowns = section(outline, "[rallentamenti]")["children"];
    ASSERT_EQ(slowdowns.size(), 2u);
    EXPECT_EQ(slowdowns[0]["name"], "slowdown km 18.650");
    EXPECT_EQ(slowdowns[0]["detail"], "30 km/h over 300 m");
    EXPECT_EQ(section(outline, "[aderenze]")["children"].size(), 23u);
    EXPECT_EQ(section(outline, "[vel_limite]")["children"][0]["detail"], "80 km/h");
}

// The outline shows what the compile read: a station line that fails (error 8,
// its position no multiple of 50) stands with its position but no name, and
// nothing after it was read, headings included.
TEST(Symbols, ReadingStopsAtAFailedLine) {
    const compiled_sources pair =
        program_pair(sorgente_testo::corsa, "stazione,    1800", "stazione,    1825");
    const nlohmann::json outline = document_symbols(pair, sorgente_testo::corsa);
    const nlohmann::json& stations = section(outline, "[stazioni]")["children"];
    ASSERT_EQ(stations.size(), 2u) << stations.dump(1);
    EXPECT_EQ(stations[0]["name"], "CALVENA");
    EXPECT_EQ(stations[1]["name"], "station");
    EXPECT_EQ(stations[1]["detail"], "km 1.825");
    EXPECT_EQ(outline.back()["name"], "[stazioni]") << "the headings after it were not read";
}

}  // namespace
}  // namespace scenario::tool::lsp
