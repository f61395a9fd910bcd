// `scenario format`: the reference comes from the keyword tables, every row
// with its fields and an example line its own row recognises, and a word
// finds the rows an author means.
#include "compiler/keywords.h"
#include "compiler/text_case.h"
#include "tools/command_line.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace scenario::tool {
namespace {

using nlohmann::json;

struct command_output {
    int status;
    std::string out;
    std::string err;
};
command_output run_format(std::vector<std::string> words) {
    words.insert(words.begin(), "format");
    std::ostringstream o, e;
    const int status = run(words, o, e);
    return {status, o.str(), e.str()};
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
