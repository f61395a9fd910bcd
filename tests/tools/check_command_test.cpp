// `scenario check` run as an author would: on files in a directory, from
// another directory, reading what it prints and its exit status; and the
// warning options of `compile`.
#include "tests/support/files.h"
#include "tests/support/tool_run.h"
#include "tools/command_line.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace scenario::tool {
namespace {

namespace fs = std::filesystem;
using test_support::command_output;
using test_support::read_file;
using test_support::run_tool;
using test_support::temporary_directory;
using test_support::write_file;

const std::string fixture = std::string(SCENARIO_TEST_DATA) + "/warnings/";

// The fixture copied into a directory of its own, the run description
// optionally edited.
class CheckCommand : public ::testing::Test {
protected:
    void SetUp() override {
        line_ = inputs_ / "Prova_linea.txt";
        run_ = inputs_ / "Prova_101-.txt";
        write_file(line_, read_file(fixture + "Prova_linea.txt"));
        write_file(run_, read_file(fixture + "Prova_101-.txt"));
    }
    void replace_in_run(const std::string& from, const std::string& to) {
        std::string t = read_file(run_);
        t.replace(t.find(from), from.size(), to);
        write_file(run_, t);
    }
    std::vector<std::string> check(std::vector<std::string> more = {}) const {
        std::vector<std::string> w = {"check", "--line", line_.string(), "--run", run_.string()};
        w.insert(w.end(), more.begin(), more.end());
        return w;
    }

    temporary_directory inputs_{"scenario_check_in_"};
    fs::path line_, run_;
};

TEST_F(CheckCommand, WritesNothingAndLeavesItsInputsAlone) {
    replace_in_run("aderenza,   4600,    100", "aderenza,   4600,    300");
    const std::string line_before = read_file(line_), run_before = read_file(run_);
    temporary_directory empty{"scenario_check_cwd_"};
    const fs::path back = fs::current_path();
    fs::current_path(empty.path());
    const command_output r = run_tool(check());
    fs::current_path(back);

    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_empty(empty.path()));
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(inputs_.path()))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(names.size(), 2u);
    EXPECT_EQ(read_file(line_), line_before);
    EXPECT_EQ(read_file(run_), run_before);
    EXPECT_NE(r.err.find("taken from the file names"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Prova_101-.txt:9:22: warning [value-wrapped]"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("no errors, 1 warning; nothing written"), std::string::npos) << r.out;
}

TEST_F(CheckCommand, ExitStatuses) {
    EXPECT_EQ(run_tool(check()).status, 0);
    EXPECT_EQ(run_tool(check({"--strict"})).status, 0) << "the clean fixture has no warning";

    replace_in_run("sabbia,    300", "sabbia,    tre");
    EXPECT_EQ(run_tool(check()).status, 0);
    EXPECT_EQ(run_tool(check({"--strict"})).status, 1);
    EXPECT_EQ(run_tool(check({"--strict", "--ignore", "not-a-number"})).status, 0);
    EXPECT_EQ(run_tool(check({"--ignore", "no-such-warning"})).status, 2);

    replace_in_run("segnale,    6500", "segnale,    3000");  // its cell is taken: error 16
    EXPECT_EQ(run_tool(check()).status, 1);

    const command_output missing = run_tool({"check", "--line", (inputs_ / "nessuno.txt").string(), "--run",
                                             run_.string(), "--name", "Prova", "--train", "101"});
    EXPECT_EQ(missing.status, 2);

    const fs::path odd = inputs_ / "linea.txt";
    fs::copy_file(line_, odd);
    const command_output unnamed = run_tool({"check", "--line", odd.string(), "--run", run_.string()});
    EXPECT_EQ(unnamed.status, 2);
    EXPECT_NE(unnamed.err.find("--name"), std::string::npos) << unnamed.err;
}

TEST_F(CheckCommand, JsonListsErrorsAndWarningsAlike) {
    replace_in_run("sabbia,    300", "sabbia,    tre");
    replace_in_run("segnale,    6500", "segnale,    3000");
    const command_output r = run_tool(check({"--json"}));
    EXPECT_EQ(r.status, 1);
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["codice_errore"], 16);
    EXPECT_EQ(j["posizione_errore"], 3000);
    ASSERT_EQ(j["errors"].size(), 1u);
    ASSERT_EQ(j["warnings"].size(), 1u);
    for (const auto& entry : {j["errors"][0], j["warnings"][0]})
        for (const char* key : {"severity", "code", "file", "line", "column", "message"})
            EXPECT_TRUE(entry.contains(key)) << key;
    EXPECT_EQ(j["errors"][0]["code"], "E16");
    EXPECT_EQ(j["errors"][0]["number"], 16);
    EXPECT_EQ(j["errors"][0]["line"], 21);
    EXPECT_EQ(j["errors"][0]["column"], 1);
    EXPECT_EQ(j["warnings"][0]["severity"], "warning");
    EXPECT_EQ(j["warnings"][0]["code"], "not-a-number");
    EXPECT_EQ(j["warnings"][0]["line"], 4);
    EXPECT_EQ(j["warnings"][0]["column"], 12);
    EXPECT_EQ(j["written"].size(), 0u);
}

// One list for the author, in the order of the sources: the line
// description first, then the run description, each by line; an error's
// second place right under it.
TEST_F(CheckCommand, ErrorsAndWarningsComeInFileAndLineOrder) {
    replace_in_run("segnale,    6500", "segnale,    3000");
    replace_in_run("sabbia,    300", "sabbia,    tre");
    std::string line = read_file(line_);
    line.replace(line.find("sfondo uno,    1"), 16, "sfondo uno,    x");
    write_file(line_, line);

    const command_output r = run_tool(check());
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> expected_starts = {
        line_.string() + ":6:", run_.string() + ":4:", run_.string() + ":21: reader error 16",
        run_.string() + ":20: note: the cell is taken by the signal at 3000 m placed here"};
    std::size_t at = 0;
    for (const std::string& start : expected_starts) {
        const std::size_t found = r.err.find(start, at);
        ASSERT_NE(found, std::string::npos) << start << "\n" << r.err;
        at = found + start.size();
    }
    // The JSON lists keep that order within each list.
    const nlohmann::json j = nlohmann::json::parse(run_tool(check({"--json"})).out);
    ASSERT_EQ(j["warnings"].size(), 2u);
    EXPECT_EQ(j["warnings"][0]["file"], line_.string());
    EXPECT_EQ(j["warnings"][1]["file"], run_.string());
    EXPECT_EQ(j["errors"][0]["related"][0]["line"], 20);
}

// A warning about two lines prints the other one as a note under it, and
// lists it in the JSON as an error's second place is listed.
TEST_F(CheckCommand, AWarningNamesItsOtherLine) {
    replace_in_run("8,28, 0, ULTIMA", "8,18, 0, ULTIMA");
    const command_output r = run_tool(check());
    EXPECT_EQ(r.status, 0);
    const std::string warning = run_.string() + ":16:63: warning [time-backwards]";
    const std::string note = "\n" + run_.string() + ":15: note: the previous station with a time\n";
    const std::size_t at = r.err.find(warning);
    ASSERT_NE(at, std::string::npos) << r.err;
    EXPECT_NE(r.err.find(note, at), std::string::npos) << r.err;

    const nlohmann::json j = nlohmann::json::parse(run_tool(check({"--json"})).out);
    ASSERT_EQ(j["warnings"].size(), 1u);
    ASSERT_EQ(j["warnings"][0]["related"].size(), 1u);
    EXPECT_EQ(j["warnings"][0]["related"][0]["file"], run_.string());
    EXPECT_EQ(j["warnings"][0]["related"][0]["line"], 15);
    EXPECT_EQ(j["warnings"][0]["related"][0]["column"], 1);
}

TEST_F(CheckCommand, CompileWarnsAfterWritingAndStrictOnlyChangesTheStatus) {
    replace_in_run("sabbia,    300", "sabbia,    tre");
    temporary_directory out{"scenario_check_out_"};
    const std::vector<std::string> compile = {
        "compile", "--line",  line_.string(), "--run", run_.string(),      "--name",
        "Prova",   "--train", "101",          "--out", out.path().string()};
    const command_output plain = run_tool(compile);
    const std::string cells = read_file(out / "Prova_101.dat");
    std::vector<std::string> strict = compile;
    strict.push_back("--strict");
    const command_output strict_run = run_tool(strict);
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(strict_run.status, 1);
    EXPECT_EQ(read_file(out / "Prova_101.dat"), cells);
    EXPECT_NE(plain.err.find("warning [not-a-number]"), std::string::npos) << plain.err;
    EXPECT_NE(plain.out.find("compiled without errors"), std::string::npos);
}

// A source nothing was read of fails the check and the compile, worded as
// "not read" where a clean run says "no errors"; --strict's failures are
// worded as failures too.
TEST_F(CheckCommand, NothingReadIsAFailureAndSaysSo) {
    const std::string clean_line = read_file(line_), clean_run = read_file(run_);
    // Every heading after the first one gone: the general section never ends.
    const auto without_headings = [](std::string t) {
        std::string kept;
        std::size_t start = 0;
        bool first = true;
        while (start < t.size()) {
            const std::size_t end = t.find('\n', start);
            const std::string line =
                t.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
            if (line[0] != '[' || std::exchange(first, false))
                kept += line;
            start = end == std::string::npos ? t.size() : end + 1;
        }
        return kept;
    };
    const auto utf16 = [](const std::string& t) {
        std::string u = "\xFF\xFE";
        for (char c : t)
            u += std::string{c, '\0'};
        return u;
    };
    struct case_ {
        const char* what;
        std::string line;
        std::string run;
        const char* cause;
        const char* summary;  // the last line of check
    };
    const auto replaced = [](std::string t, const std::string& from, const std::string& to) {
        return t.replace(t.find(from), from.size(), to);
    };
    const case_ cases[] = {
        {"run description without [generale]", clean_line, replaced(clean_run, "[generale]", "[general]"),
         "run-general-missing", "not read: the run description; "},
        {"run description in UTF-16", clean_line, utf16(clean_run), "utf16-file",
         "not read: the run description; "},
        {"general section never ends", without_headings(clean_line), clean_run, "general-section-unended",
         "not read: the line description's body; "},
        {"route length 0", replaced(clean_line, "lunghezza percorso,    12000", "lunghezza percorso,    0"),
         clean_run, "empty-route", "errors found, not read: the route (its length is 0), "},
    };
    for (const case_& c : cases) {
        SCOPED_TRACE(c.what);
        write_file(line_, c.line);
        write_file(run_, c.run);
        const command_output checked = run_tool(check());
        EXPECT_EQ(checked.status, 1) << checked.err;
        EXPECT_NE(checked.out.find(c.summary), std::string::npos) << checked.out;
        EXPECT_NE(checked.err.find(": not read: "), std::string::npos) << checked.err;
        EXPECT_EQ(checked.out.find("no errors"), std::string::npos) << checked.out;

        const nlohmann::json j = nlohmann::json::parse(run_tool(check({"--json"})).out);
        ASSERT_EQ(j["not_read"].size(), 1u) << j["not_read"];
        EXPECT_EQ(j["not_read"][0]["cause"], c.cause);

        temporary_directory out{"scenario_unread_"};
        const command_output compiled = run_tool(
            {"compile", "--line", line_.string(), "--run", run_.string(), "--out", out.path().string()});
        EXPECT_EQ(compiled.status, 1);
        EXPECT_EQ(compiled.out.find("compiled without errors"), std::string::npos) << compiled.out;
        EXPECT_TRUE(fs::exists(out / "Prova_101.dat")) << "the files are written all the same";
    }

    // --strict's failure is worded as one.
    write_file(line_, clean_line);
    write_file(run_, replaced(clean_run, "sabbia,    300", "sabbia,    tre"));
    const command_output strict = run_tool(check({"--strict"}));
    EXPECT_EQ(strict.status, 1);
    EXPECT_NE(strict.out.find("no errors, but 1 warning fails --strict; nothing written"), std::string::npos)
        << strict.out;
    temporary_directory out{"scenario_strict_"};
    const command_output compiled = run_tool({"compile", "--line", line_.string(), "--run", run_.string(),
                                              "--out", out.path().string(), "--strict"});
    EXPECT_EQ(compiled.status, 1);
    EXPECT_NE(compiled.out.find("compiled without errors, but 1 warning fails --strict"), std::string::npos)
        << compiled.out;
}

// A fault that makes the reader misread what follows comes first, with the
// warnings it caused folded under it; a warning that only restates an error
// is not reported.
TEST_F(CheckCommand, ConsequencesFoldUnderTheirCause) {
    const std::string clean_line = read_file(line_), clean_run = read_file(run_);
    const auto replaced = [](std::string t, const std::string& from, const std::string& to) {
        return t.replace(t.find(from), from.size(), to);
    };
    using codes = std::vector<std::string>;
    struct case_ {
        const char* what;
        std::string line;
        std::string run;
        std::vector<std::string> more;  // options
        codes top;                      // the warnings reported on their own, in order
        codes folded;                   // the consequences of the first of them
    };
    const case_ cases[] = {
        {"a missing comma shifts a gradient line into the next",
         replaced(clean_line, "pendenza,  3000,  -5", "pendenza  3000,  -5"),
         clean_run,
         {},
         {"missing-comma"},
         {"profile-order", "too-few-fields", "position-rounded", "not-a-number", "too-many-fields"}},
        {"the missing comma ignored: what it caused stands on its own",
         replaced(clean_line, "pendenza,  3000,  -5", "pendenza  3000,  -5"),
         clean_run,
         {"--ignore", "missing-comma"},
         {"profile-order", "too-few-fields", "position-rounded", "not-a-number", "too-many-fields"},
         {}},
        {"a thousands separator in the route length",
         replaced(clean_line, "lunghezza percorso,    12000", "lunghezza percorso,    12.000"),
         replaced(clean_run, "[stazioni]", "[fine]"),
         {},
         {"not-a-number"},
         {"in-run-off", "in-run-off", "in-run-off", "in-run-off"}},
    };
    for (const case_& c : cases) {
        SCOPED_TRACE(c.what);
        write_file(line_, c.line);
        write_file(run_, c.run);
        std::vector<std::string> words = check({"--json"});
        words.insert(words.end(), c.more.begin(), c.more.end());
        const nlohmann::json j = nlohmann::json::parse(run_tool(words).out);
        codes top, folded;
        for (const auto& w : j["warnings"])
            top.push_back(w["code"]);
        if (!j["warnings"].empty())
            for (const auto& w : j["warnings"][0]["consequences"])
                folded.push_back(w["code"]);
        EXPECT_EQ(top, c.top) << j["warnings"].dump(1);
        EXPECT_EQ(folded, c.folded) << j["warnings"].dump(1);
    }

    // The plain output counts them, --verbose lists them; the total stays.
    write_file(line_, cases[0].line);
    write_file(run_, clean_run);
    const command_output plain = run_tool(check());
    EXPECT_NE(plain.err.find("(and 5 consequences, listed with --verbose)"), std::string::npos) << plain.err;
    EXPECT_NE(plain.out.find("no errors, 6 warnings"), std::string::npos) << plain.out;
    const command_output verbose = run_tool(check({"--verbose"}));
    EXPECT_NE(verbose.err.find(": consequence [too-many-fields]: "), std::string::npos) << verbose.err;

    // Reading stopped at a position off the route: the error says it, and
    // "no station" only restates that reading stopped.
    write_file(line_, clean_line);
    write_file(run_, replaced(clean_run, "aderenza,   4600,    100", "aderenza,   19600,    100"));
    const nlohmann::json stopped = nlohmann::json::parse(run_tool(check({"--json"})).out);
    ASSERT_FALSE(stopped["errors"].empty());
    EXPECT_EQ(stopped["warnings"], nlohmann::json::array()) << stopped["warnings"].dump(1);
}

// Without --name and --train, compile takes them from the text sources'
// names and plan from the compiled files in its directory; both say so.
TEST_F(CheckCommand, CompileAndPlanTakeTheNamesFromTheFileNames) {
    temporary_directory out{"scenario_names_out_"};
    const command_output compiled =
        run_tool({"compile", "--line", line_.string(), "--run", run_.string(), "--out", out.path().string()});
    ASSERT_EQ(compiled.status, 0) << compiled.err;
    EXPECT_NE(compiled.err.find("scenario name \"Prova\", train number \"101\" (taken from the file names)"),
              std::string::npos)
        << compiled.err;
    for (const char* f : {"Prova_linea.dat", "Prova_101.sim", "Prova_101.dat"})
        EXPECT_TRUE(fs::exists(out / f)) << f;

    const command_output drawn = run_tool({"plan", out.path().string(), "--svg", (out / "p.svg").string()});
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_NE(drawn.err.find("(taken from the file names)"), std::string::npos) << drawn.err;
    EXPECT_NE(read_file(out / "p.svg").find("Prova, train 101"), std::string::npos);

    // A second scenario in the directory: plan asks which.
    write_file(out / "Altra_5.sim", read_file(out / "Prova_101.sim"));
    const command_output two = run_tool({"plan", out.path().string(), "--svg", "-"});
    EXPECT_EQ(two.status, 2);
    EXPECT_NE(two.err.find("holds 2 compiled scenarios"), std::string::npos) << two.err;
    EXPECT_EQ(run_tool({"plan", out.path().string(), "--train", "101", "--svg", "-"}).status, 0);

    // A run file that does not follow the names, and no --train: nothing is compiled.
    const fs::path odd = inputs_ / "treno.txt";
    write_file(odd, read_file(run_));
    const command_output unnamed =
        run_tool({"compile", "--line", line_.string(), "--run", odd.string(), "--out", out.path().string()});
    EXPECT_EQ(unnamed.status, 2);
    EXPECT_NE(unnamed.err.find("give it with --train"), std::string::npos) << unnamed.err;
}

// A reading failure names the field where it failed, and the line that holds
// a value found wrong only when the next line used it.
TEST_F(CheckCommand, ReadFailuresPointAtTheFieldAndTheValue) {
    replace_in_run("sabbia,    300", "sabbia,    40000");
    const command_output sand = run_tool(check());
    EXPECT_EQ(sand.status, 1);
    EXPECT_NE(sand.err.find("Prova_101-.txt:4: reader error 25"), std::string::npos) << sand.err;
    EXPECT_NE(sand.err.find("the field \"40000\" (line 4, columns 12 to 16)"), std::string::npos) << sand.err;

    SetUp();
    replace_in_run("velocita,       0,    80", "velocita,       0,    2000");
    const command_output speed = run_tool(check());
    EXPECT_EQ(speed.status, 1);
    EXPECT_NE(speed.err.find("Prova_101-.txt:12: reader error 25"), std::string::npos) << speed.err;
    EXPECT_NE(speed.err.find("the value was written on line 11"), std::string::npos) << speed.err;
    // The value's own line is printed as a second place under the error.
    EXPECT_NE(speed.err.find("Prova_101-.txt:11: note: the value was written here (speed limit at 0 m)\n"),
              std::string::npos)
        << speed.err;
}

}  // namespace
}  // namespace scenario::tool
