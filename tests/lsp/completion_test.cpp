// Completion where an author types: the keywords and headings of that part of
// the source, with snippets that give back the program's own lines.
#include "tools/lsp/completion.h"

#include "tests/lsp/program_pair.h"

#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace scenario::tool::lsp {
namespace {

using test_support::place_of;
using test_support::program_pair;
using test_support::program_text;

// The labels in the order the editor sorts them.
std::vector<std::string> sorted_labels(const nlohmann::json& items) {
    std::vector<std::pair<std::string, std::string>> keyed;
    for (const auto& i : items)
        keyed.emplace_back(i["sortText"], i["label"]);
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::string> labels;
    for (const auto& [key, label] : keyed)
        labels.push_back(label);
    return labels;
}

bool has(const std::vector<std::string>& labels, const std::string& label) {
    return std::find(labels.begin(), labels.end(), label) != labels.end();
}

// Completion on a new line "typed" after the line that starts with `after`.
nlohmann::json on_new_line(sorgente_testo file, const std::string& after, const std::string& typed) {
    const std::string text = program_text(file);
    const std::size_t from = text.find(after);
    const std::string line_after = text.substr(from, text.find("\r\n", from) + 2 - from);
    const compiled_sources pair = program_pair(file, line_after, line_after + typed + "\r\n");
    const int line = place_of(text, after, after).first + 1;
    return completions_at(pair, file, line, static_cast<int>(typed.size()));
}

TEST(Completion, OffersWhatThePartOfTheSourceReads) {
    struct place_case {
        sorgente_testo file;
        const char* after;
        std::vector<std::string> first;  // the first labels, in order
        std::vector<std::string> among;
        std::vector<std::string> never;
    };
    const auto L = sorgente_testo::linea;
    const auto R = sorgente_testo::corsa;
    const place_case cases[] = {
        {L, "sfondo uno", {}, {"lunghezza percorso", "sfondo due", "[curve]"}, {"pendenza", "segnale"}},
        {L,
         "[montagne]",
         {"montagna", "[cartelli]"},
         {"pendenza", "cartello_indicatore"},
         {"lunghezza percorso", "[generale]"}},
        {R,
         "[segnali]",
         {"segnale", "[codici]"},
         {"stazione", "rallentamento", "[fine]"},
         {"pendenza", "[generale]"}},
        {R, "[stazioni]", {"stazione", "[rallentamenti]"}, {"segnale"}, {"montagna"}},
    };
    for (const place_case& c : cases) {
        const std::vector<std::string> labels = sorted_labels(on_new_line(c.file, c.after, ""));
        for (std::size_t k = 0; k < c.first.size(); ++k) {
            ASSERT_LT(k, labels.size());
            EXPECT_EQ(labels[k], c.first[k]) << "after " << c.after;
        }
        for (const std::string& l : c.among)
            EXPECT_TRUE(has(labels, l)) << l << " after " << c.after;
        for (const std::string& l : c.never)
            EXPECT_FALSE(has(labels, l)) << l << " after " << c.after;
    }
}

// On a heading's own line the part is the one before it: the author may be
// replacing the heading.
TEST(Completion, OnAHeadingThePartBeforeIt) {
    const compiled_sources pair = program_pair();
    const int line = place_of(pair.run_text, "[segnali]", "[").first;
    const std::vector<std::string> labels =
        sorted_labels(completions_at(pair, sorgente_testo::corsa, line, 0));
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels[0], "rallentamento");
    EXPECT_EQ(labels[1], "[segnali]");
}

TEST(Completion, BeforeTheHeadingOnlyTheHeading) {
    const nlohmann::json items = completions_at(program_pair(), sorgente_testo::linea, 0, 0);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]["label"], "[generale]");
}

TEST(Completion, NothingInAValueField) {
    const compiled_sources pair = program_pair();
    const auto [line, column] = place_of(pair.run_text, "segnale,    3650", "3650");
    EXPECT_TRUE(completions_at(pair, sorgente_testo::corsa, line, column + 1).empty());
}

TEST(Completion, ReplacesWhatWasTyped) {
    const nlohmann::json items = on_new_line(sorgente_testo::corsa, "[segnali]", "segn");
    ASSERT_FALSE(items.empty());
    for (const auto& i : items) {
        EXPECT_EQ(i["textEdit"]["range"]["start"]["character"], 0);
        EXPECT_EQ(i["textEdit"]["range"]["end"]["character"], 4);
    }
}

// Every keyword snippet, its tab stops filled with their defaults, is a line
// of the program's own sources, or the keyword's line from its samples.
TEST(Completion, SnippetsWriteTheProgramsLines) {
    std::set<std::string> program_lines;
    for (const auto file : {sorgente_testo::linea, sorgente_testo::corsa}) {
        const std::string text = program_text(file);
        for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            program_lines.insert(text.substr(at, end - at));
    }
    const std::regex tab_stop(R"(\$\{\d+:?([^}]*)\})");
    int snippets = 0;
    for (const auto& [file, after] : {std::pair{sorgente_testo::linea, "sfondo uno"},
                                      {sorgente_testo::linea, "[curve]"},
                                      {sorgente_testo::corsa, "[segnali]"}}) {
        for (const auto& i : on_new_line(file, after, "")) {
            if (i["insertTextFormat"] != 2)
                continue;
            ++snippets;
            const std::string filled =
                std::regex_replace(i["textEdit"]["newText"].get<std::string>(), tab_stop, "$1");
            EXPECT_TRUE(program_lines.contains(filled) ||
                        filled.starts_with(i["label"].get<std::string>() + ", "))
                << filled;
            EXPECT_NE(i["textEdit"]["newText"].get<std::string>().find("${1"), std::string::npos) << filled;
        }
    }
    EXPECT_GT(snippets, 20);
    const nlohmann::json run = on_new_line(sorgente_testo::corsa, "[segnali]", "");
    const auto signal =
        std::find_if(run.begin(), run.end(), [](const auto& i) { return i["label"] == "segnale"; });
    ASSERT_NE(signal, run.end());
    EXPECT_EQ((*signal)["textEdit"]["newText"],
              "segnale,    ${1:3650},   ${2:1}, ${3:4}, ${4:1},  ${5:0}, ${6:0},    ${7:0},  "
              "${8:0},${9:0},${10:0}, ${11:0}");
}

}  // namespace
}  // namespace scenario::tool::lsp
