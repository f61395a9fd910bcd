// Diagnostics and quick fixes of the language server on the program's own
// sources edited as an author would, unsaved.
#include "tests/lsp/lsp_support.h"

#include <gtest/gtest.h>

namespace scenario::tool::lsp::testing {
namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Applies one TextEdit to UTF-8 `text` (lines counted by LF).
std::string applied(std::string text, const json& edit) {
    const auto offset = [&](const json& p) {
        std::size_t at = 0;
        for (int line = p["line"].get<int>(); line > 0; --line)
            at = text.find('\n', at) + 1;
        // Characters of the Basic Multilingual Plane: one UTF-16 unit each.
        for (int units = p["character"].get<int>(); units > 0; --units)
            for (++at; at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;)
                ++at;
        return at;
    };
    const std::size_t first = offset(edit["range"]["start"]);
    const std::size_t last = offset(edit["range"]["end"]);
    return text.replace(first, last - first, edit["newText"].get<std::string>());
}

json range(int line, int first, int last) {
    return {{"start", {{"line", line}, {"character", first}}},
            {"end", {{"line", line}, {"character", last}}}};
}

session opened(const std::string& line, const std::string& run) {
    session t;
    t.initialized();
    t.s.handle(did_open(line_uri, line));
    t.s.handle(did_open(run_uri, run));
    return t;
}

TEST(LspDiagnostics, TheProgramsOwnSourcesAreCleanInBothFiles) {
    session t = opened(program_line(), program_run());
    EXPECT_EQ(t.diagnostics(line_uri),
              json({{"uri", line_uri}, {"version", 1}, {"diagnostics", json::array()}}));
    EXPECT_EQ(t.diagnostics(run_uri)["diagnostics"], json::array());
}

struct fix_case {
    const char* name;
    bool in_run;       // the run description is edited, else the line description
    std::string from;  // the text replaced in the program's source
    std::string to;
    json range;  // where the warning and its fix lie
    const char* code;
    const char* message_part;
};

TEST(LspDiagnostics, CertainFixesLieOnTheFieldAndClearTheirWarning) {
    const std::vector<fix_case> cases = {
        {"keyword typo", true, "segnale,    3650", "segnalle,    3650", range(48, 0, 8), "unknown-keyword",
         "did you mean 'segnale'?"},
        {"missing comma", true, "segnale,    3650", "segnale    3650", range(48, 0, 15), "missing-comma",
         "a comma is probably missing"},
        {"byte-order mark", false, "\r\n\r\n[generale]", "\xC3\xAF\xC2\xBB\xC2\xBF\r\n\r\n[generale]",
         range(0, 0, 3), "byte-order-mark", ""},
    };
    for (const fix_case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string edited = replaced(c.in_run ? program_run() : program_line(), c.from, c.to);
        const std::string& uri = c.in_run ? run_uri : line_uri;
        session t = opened(program_line(), program_run());
        t.s.handle(did_change(uri, edited, 2));
        const json published = t.diagnostics(uri);
        EXPECT_EQ(published["version"], 2);
        const json& list = published["diagnostics"];
        // A missing comma also shifts the values after it: the warning is its cause.
        const auto found =
            std::find_if(list.begin(), list.end(), [&](const json& d) { return d["code"] == c.code; });
        ASSERT_NE(found, list.end()) << list.dump(1);
        const json& d = *found;
        EXPECT_EQ(d["severity"], 2);
        EXPECT_EQ(d["message"].get<std::string>().find(c.message_part) != std::string::npos, true)
            << d["message"];
        EXPECT_EQ(d["range"]["start"], c.range["start"]);
        if (std::string(c.code) != "byte-order-mark") {
            EXPECT_EQ(d["range"], c.range);
        }

        const json actions = t.answer(request(7, "textDocument/codeAction",
                                              {{"textDocument", {{"uri", uri}}},
                                               {"range", d["range"]},
                                               {"context", {{"diagnostics", list}}}}))["result"];
        ASSERT_EQ(actions.size(), 1u) << actions.dump(1);
        const json& edits = actions[0]["edit"]["changes"][uri];
        ASSERT_EQ(edits.size(), 1u);
        const std::string fixed = applied(edited, edits[0]);
        t.s.handle(did_change(uri, fixed, 3));
        EXPECT_EQ(t.diagnostics(uri)["diagnostics"], json::array()) << fixed.substr(0, 40);
    }
}

TEST(LspDiagnostics, CharactersWindows1252CannotHoldKeepTheColumnsAfterThemRight) {
    // U+1F600 takes two UTF-16 units, the editor's columns; é is a Windows-1252 byte.
    const std::string run = replaced(replaced(program_run(), "stazione,    1800, 27,",
                                              "stazione,    1800, 2\xF0\x9F\x98\x80"
                                              "7,"),
                                     "CALVENA OVEST", "CALV\xC3\x89NA OVEST");
    session t = opened(program_line(), run);
    const json list = t.diagnostics(run_uri)["diagnostics"];
    json codes = json::array();
    for (const json& d : list)
        codes.push_back(d["code"]);
    EXPECT_EQ(codes, json({"not-a-number", "not-windows-1252"})) << list.dump(1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]["range"], range(33, 19, 23));  // "2😀7": four units
    EXPECT_EQ(list[1]["range"], range(33, 20, 22));
    EXPECT_NE(list[1]["message"].get<std::string>().find("U+1F600"), std::string::npos);
}

TEST(LspDiagnostics, WarningsBeyondThoseKeptAreCountedAsCheckCountsThem) {
    std::string typos;
    for (int i = 0; i < 25; ++i)
        typos += "segnalle, 1\r\n";
    session t = opened(program_line(), replaced(program_run(), "[segnali]\r\n", "[segnali]\r\n" + typos));
    const json list = t.diagnostics(run_uri)["diagnostics"];
    ASSERT_EQ(list.size(), 21u);
    EXPECT_EQ(list.back()["severity"], 3);
    EXPECT_EQ(list.back()["message"], "5 more warnings [unknown-keyword] not shown");
    EXPECT_EQ(list.back()["range"]["start"]["line"], 0);
}

TEST(LspDiagnostics, ErrorsCarryTheirCodeFieldAndSecondPlace) {
    // A second signal in the cell of the first.
    const std::string line49 = "segnale,    3650,   1, 4, 1,  0, 0,    0,  0,0,0, 0\r\n";
    session t = opened(program_line(), replaced(program_run(), line49, line49 + line49));
    const json list = t.diagnostics(run_uri)["diagnostics"];
    ASSERT_FALSE(list.empty());
    const json& e = list[0];
    EXPECT_EQ(e["severity"], 1);
    EXPECT_EQ(e["code"].get<std::string>().substr(0, 1), "E");
    EXPECT_EQ(e["range"]["start"]["line"], 49);
    ASSERT_TRUE(e.contains("relatedInformation")) << e.dump(1);
    EXPECT_EQ(e["relatedInformation"][0]["location"]["uri"], run_uri);
    EXPECT_EQ(e["relatedInformation"][0]["location"]["range"]["start"]["line"], 48);
}

TEST(LspDiagnostics, ABurstOfChangesCompilesOnceAndPublishesTheNewestVersion) {
    session t = opened(program_line(), program_run());
    t.s.publish_pending();
    t.sent.clear();
    t.s.handle(did_change(run_uri, replaced(program_run(), "segnale,    3650", "segnalle,    3650"), 2));
    t.s.handle(did_change(run_uri, replaced(program_run(), "segnale,    3650", "segnallex,    3650"), 3));
    t.s.handle(did_change(run_uri, program_run(), 4));
    t.s.publish_pending();
    ASSERT_EQ(t.sent.size(), 2u);  // the line description and the run description, once each
    EXPECT_EQ(t.sent[1]["params"]["uri"], run_uri);
    EXPECT_EQ(t.sent[1]["params"]["version"], 4);
    EXPECT_EQ(t.sent[1]["params"]["diagnostics"], json::array());
}

TEST(LspDiagnostics, AChangeToOneFilePublishesBothAndARunAloneSaysWhatIsMissing) {
    session t = opened(program_line(), program_run());
    t.s.publish_pending();
    t.s.handle(
        did_change(line_uri, replaced(program_line(), "[curve]", "[curve]\r\ncurvva, 100, 200, 300"), 2));
    EXPECT_EQ(t.diagnostics(line_uri)["diagnostics"][0]["code"], "unknown-keyword");
    EXPECT_EQ(t.diagnostics(run_uri)["version"], 1);

    session alone;
    alone.initialized();
    const std::string uri = "file:///elsewhere/Tarvo_Lesina_12-.txt";
    alone.s.handle(did_open(uri, program_run()));
    const json list = alone.diagnostics(uri)["diagnostics"];
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["range"], range(0, 0, 0));
    EXPECT_NE(list[0]["message"].get<std::string>().find("Tarvo_Lesina_linea.txt"), std::string::npos);
}

}  // namespace
}  // namespace scenario::tool::lsp::testing
