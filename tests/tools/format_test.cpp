// `scenario format`: the reference comes from the keyword tables, every row
// with its fields and an example line its own row recognises, and a word
// finds the rows an author means.
#include "compiler/keywords.h"
#include "compiler/text_case.h"
#include "tests/support/tool_run.h"
#include "tools/command_line.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace scenario::tool {
namespace {

using nlohmann::json;

using test_support::command_output;

command_output run_format(std::vector<std::string> words) {
    words.insert(words.begin(), "format");
    return test_support::run_tool(words);
}

std::vector<const keyword_row*> every_row() {
    std::vector<const keyword_row*> rows;
    for (auto table : {line_general_keywords(), line_body_keywords(), run_keywords()})
        for (const keyword_row& r : table)
            rows.push_back(&r);
    return rows;
}

TEST(FormatReference, EveryRowWithItsFieldsAndAnExampleItsOwnTestAccepts) {
    const command_output u = run_format({"--json"});
    ASSERT_EQ(u.status, 0) << u.err;
    const json reference = json::parse(u.out);
    EXPECT_GE(reference["rules"].size(), 8u);
    const json& keywords = reference["keywords"];
    const std::vector<const keyword_row*> rows = every_row();
    ASSERT_EQ(keywords.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const keyword_row& row = *rows[i];
        const json& k = keywords[i];
        SCOPED_TRACE(k["keyword"].get<std::string>());
        ASSERT_EQ(k["fields"].size(), row.values.size());
        for (std::size_t n = 0; n < row.values.size(); ++n)
            EXPECT_EQ(k["fields"][n]["name"], row.values[n].name);
        // The example's keyword field is recognised by this very row.
        const std::string example = k["example"];
        const std::string word = example.substr(0, example.find(','));
        EXPECT_TRUE(row.matches(word, lower_ascii(word), true)) << example;
        EXPECT_EQ(k["example_from"], row.writer_spellings.empty() ? "built" : "writer");
    }
    // The text lists the same keywords, under the rules.
    const command_output text = run_format({});
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("General rules"), std::string::npos);
    EXPECT_NE(text.out.find("Windows-1252"), std::string::npos);
    for (const json& k : keywords)
        EXPECT_NE(text.out.find("\n" + k["keyword"].get<std::string>() + "  ("), std::string::npos)
            << k["keyword"];
}

// Every field says what it is: meaning, unit, width and range, never a bare
// "attribute" or "value N"; and a code or a value the compiler only passes on
// lists the values the program's own sources give it, with their lines.
TEST(FormatReference, EveryFieldIsExplained) {
    const command_output u = run_format({"--json"});
    ASSERT_EQ(u.status, 0) << u.err;
    const std::regex opaque(R"(\battribute\b|\bvalue [0-9]+\b)");
    const json reference = json::parse(u.out);  // kept: the loop walks into it
    for (const json& k : reference["keywords"]) {
        for (const json& f : k["fields"]) {
            const std::string where = k["keyword"].get<std::string>() + " " + f["name"].get<std::string>();
            SCOPED_TRACE(where);
            for (const char* key : {"meaning", "unit", "width", "range", "kept"}) {
                ASSERT_TRUE(f[key].is_string()) << key;
                EXPECT_FALSE(f[key].get<std::string>().empty()) << key;
            }
            EXPECT_FALSE(std::regex_search(f["meaning"].get<std::string>(), opaque)) << f["meaning"];
            const bool lists = f["passed_on"].get<bool>() || !f["codes"].empty();
            EXPECT_EQ(f["program_values"].is_array(), lists);
            if (lists && k["example_from"] == "writer") {
                ASSERT_FALSE(f["program_values"].empty());
                for (const json& v : f["program_values"])
                    EXPECT_FALSE(v["lines"].empty()) << v["value"];
            }
        }
    }
}

TEST(FormatReference, StationAndSignalFieldsAreExplainedInFull) {
    const command_output station = run_format({"stazione"});
    ASSERT_EQ(station.status, 0) << station.err;
    const command_output signal = run_format({"segnale"});
    ASSERT_EQ(signal.status, 0) << signal.err;
    // Each field: its line, then unit and width, range and what is kept.
    for (const auto& [out, count] : {std::pair{&station.out, 17}, {&signal.out, 11}}) {
        for (const char* part : {"       unit: ", "       range: ", "       kept: "}) {
            std::size_t n = 0;
            for (std::size_t at = out->find(part); at != std::string::npos; at = out->find(part, at + 1))
                ++n;
            EXPECT_EQ(n, static_cast<std::size_t>(count)) << part << *out;
        }
    }
    const std::string station_lines[] = {
        // what the kinds do
        "         5, 6: area from posizione - area to posizione + 150; a stop cell, no markers; byte4 set to "
        "0\n",
        "         7, 8: area from posizione - area to posizione + area; a stop cell and markers; byte4 set "
        "to 0\n",
        "         25 to 255: the same area; no stop cell, no markers\n",
        // the kinds and a passed-on value in the program's own run description
        "       the program's own run description: 4 (line 33), 27 (lines 34, 38, 41), 22 (lines 35-37, 42), "
        "28 "
        "(lines 39, 43), 12 (lines 40, 44)\n",
        "    4. byte1: value passed on as byte1\n",
        "       the program's own run description: 0 (lines 33-39, 41-44), 1 (line 40)\n",
        "       unit: none (text); width: text\n",
        "       the program's own run description: CALVENA (line 33), CALVENA OVEST (line 34), VALDIBRANA "
        "(line "
        "35) and 9 other values\n",
    };
    for (const std::string& line : station_lines)
        EXPECT_NE(station.out.find(line), std::string::npos) << line << station.out;
    const std::string signal_lines[] = {
        "         2: the signal keeps its time: dato5 = tempo\n",
        "       the program's own run description: 1 (6 lines from 49 to 59), 2 (6 lines from 50 to 60)\n",
        "         1 to 100: stored as 101\n",
        "       the program's own run description: 0 (lines 49-51, 53-55, 57-60), 245 (line 52), 250 (line "
        "56)\n",
        "       beyond that the compiler only passes it on to the simulator\n",
    };
    for (const std::string& line : signal_lines)
        EXPECT_NE(signal.out.find(line), std::string::npos) << line << signal.out;
    // The signal's fields carry no side the compiler does not know of.
    for (const char* word : {"left", "right", "aspect"})
        EXPECT_EQ(signal.out.find(word), std::string::npos) << word;
}

TEST(FormatReference, CodesOfTheLineDescriptionSayWhatTheCompilerDoes) {
    const command_output tunnel = run_format({"montagna"});
    EXPECT_NE(tunnel.out.find("11 and above: a long tunnel of class tipo - 10"), std::string::npos)
        << tunnel.out;
    EXPECT_NE(tunnel.out.find("the program's own line description: 12 ("), std::string::npos) << tunnel.out;
    EXPECT_NE(tunnel.out.find("), 11 ("), std::string::npos) << tunnel.out;

    const command_output curve = run_format({"curvas6"});
    EXPECT_NE(curve.out.find("    6: 0.003 radians per metre\n"), std::string::npos) << curve.out;
    EXPECT_NE(curve.out.find("    none of 1 to 6: error 103\n"), std::string::npos) << curve.out;

    const command_output scenery = run_format({"sfondo", "tre"});
    EXPECT_NE(scenery.out.find("the program's own line description: 9700 (line 10)\n"), std::string::npos)
        << scenery.out;

    // A keyword the program never writes says so where its values would be listed.
    const command_output point = run_format({"abbattimento"});
    EXPECT_NE(point.out.find("0 and below: cell kind 13, no value"), std::string::npos) << point.out;
    EXPECT_NE(point.out.find("the program's own sources never write it"), std::string::npos) << point.out;
}

TEST(FormatReference, AWordFindsTheKeywordsAnAuthorMeans) {
    struct test_case {
        std::vector<std::string> words;
        std::vector<std::string> found;
    };
    const test_case cases[] = {
        {{"segnale"}, {"segnale"}},                           // the writer's spelling
        {{"curvas6"}, {"curva"}},                             // one of several spellings
        {{"CURVAD2"}, {"curva"}},                             // the reader accepts it
        {{"limite", "di", "velocità"}, {"velocita"}},         // ... among other words
        {{"abbattimento"}, {"abbattimento"}},                 // the writers never use it
        {{"lunghezza", "percorso"}, {"lunghezza percorso"}},  // words joined by blanks
        {{"progressiva"},
         {"progressiva chilometrica tre", "progressiva chilometrica due",
          "progressiva chilometrica uno"}},                                       // part of a spelling
        {{"indicatori_v cartello"}, {"indicatori_vmax", "cartello_indicatore"}},  // both handlers run
    };
    for (const test_case& c : cases) {
        std::vector<std::string> words = c.words;
        words.push_back("--json");
        const command_output u = run_format(words);
        ASSERT_EQ(u.status, 0) << c.words[0] << u.err;
        std::vector<std::string> found;
        const json reference = json::parse(u.out);
        for (const json& k : reference["keywords"])
            found.push_back(k["keyword"]);
        EXPECT_EQ(found, c.found) << c.words[0];
    }
    const command_output one = run_format({"abbattimento"});
    EXPECT_NE(one.out.find("example: abbattimento, 30000, 5"), std::string::npos) << one.out;
    EXPECT_EQ(one.out.find("General rules"), std::string::npos);
}

TEST(FormatReference, AnUnknownWordIsAUsageErrorThatListsTheKeywords) {
    const command_output u = run_format({"binario"});
    EXPECT_EQ(u.status, 2);
    EXPECT_EQ(u.out, "");
    EXPECT_NE(u.err.find("\"binario\""), std::string::npos) << u.err;
    for (const keyword_row* row : every_row())
        EXPECT_NE(u.err.find(std::string(row->part1)), std::string::npos) << row->part1;
    EXPECT_EQ(u.err.find("did you mean"), std::string::npos) << u.err;

    // A slip of a keyword of either source names it.
    for (const auto& [word, meant] : {std::pair{"stazoine", "stazione"}, {"cruvad5", "curvad5"}}) {
        const command_output slip = run_format({word});
        EXPECT_EQ(slip.status, 2);
        EXPECT_NE(slip.err.find(std::string("; did you mean '") + meant + "'?\n"), std::string::npos)
            << slip.err;
    }
}

}  // namespace
}  // namespace scenario::tool
