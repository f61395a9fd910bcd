// The command line: help, version, usage errors and exit statuses, and the
// text form of the compile's report.
#include "tools/command_line.h"

#include "common/line_list.h"
#include "common/version.h"
#include "sources/writers.h"
#include "tests/support/files.h"
#include "tests/support/tool_run.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace scenario::tool {
namespace {

namespace fs = std::filesystem;
using test_support::command_output;
using test_support::write_file;

const char* const commands[] = {"sources", "new", "compile", "dump", "plan", "format"};

TEST(CommandLine, HelpForTheToolAndForEachCommand) {
    for (const std::vector<std::string>& words : {std::vector<std::string>{"--help"}, {"-h"}, {"help"}}) {
        const command_output u = test_support::run_tool(words);
        EXPECT_EQ(u.status, 0);
        EXPECT_EQ(u.err, "");
        EXPECT_NE(u.out.find("Usage: scenario"), std::string::npos) << u.out;
        EXPECT_NE(u.out.find("Exit status: 0 success"), std::string::npos) << u.out;
        for (const char* command : commands)
            EXPECT_NE(u.out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
    }
    // Each command's help: its usage line, its explanation and its exit statuses.
    const std::pair<const char*, const char*> explained[] = {
        {"sources", "--force replaces them"},
        {"new", "compiles without an error or a warning"},
        {"compile", "a fatal stamp error (1250, 1251) stops it"},
        {"dump", "null for a value never"},
        {"plan", "--svg - writes the picture to standard output"},
        {"format", "An unknown KEYWORD is a usage error"},
    };
    for (const auto& [command, explanation] : explained) {
        const command_output a = test_support::run_tool({command, "--help"});
        const command_output b = test_support::run_tool({"help", command});
        EXPECT_EQ(a.status, 0);
        EXPECT_EQ(a.out, b.out);
        EXPECT_NE(a.out.find(std::string("Usage: scenario ") + command), std::string::npos) << a.out;
        EXPECT_NE(a.out.find(explanation), std::string::npos) << a.out;
        EXPECT_NE(a.out.find("Exit status:"), std::string::npos) << a.out;
    }
}

TEST(CommandLine, VersionNamesTheToolAndItsVersion) {
    const command_output u = test_support::run_tool({"--version"});
    EXPECT_EQ(u.status, 0);
    EXPECT_EQ(u.out, std::string("scenario ") + program_version + "\n");
    EXPECT_EQ(u.err, "");
}

TEST(CommandLine, UsageErrorsExitWithTwoAndSayWhatIsWrong) {
    struct test_case {
        std::vector<std::string> words;
        const char* message;
    } cases[] = {
        {{}, "give a command"},
        {{"build"}, "scenario: unknown command 'build'"},
        {{"help", "build"}, "unknown command 'build'"},
        {{"--bogus"}, "scenario: unknown option '--bogus'"},
        {{"compile", "--line", "a"}, "scenario compile: --run is required"},
        {{"compile", "--line", "a", "--run", "b", "--name", "N", "--train", "1", "--line", "c"}, "--line"},
        {{"compile", "--line"}, "--line"},
        {{"compile", "--json=maybe", "--line", "a", "--run", "b", "--name", "N", "--train", "1"}, "--json"},
        {{"compile", "--line", "a", "--run", "b", "--name", "N", "--train", "1", "--fast"}, "--fast"},
        {{"compile", "--line", "a", "--run", "b", "--name", "N", "--train", "1", "extra"}, "extra"},
        {{"sources"}, "scenario sources: DIR is required"},
        {{"sources", "a", "b"}, "b"},
        {{"new", "Nuova", "1"}, "scenario new: DIR is required"},
        {{"plan", "--name", "N", "--train", "1", "--svg", "x.svg"}, "DIR is required"},
        {{"plan", "DIR"}, "is required"},
    };
    for (const test_case& c : cases) {
        const command_output u = test_support::run_tool(c.words);
        EXPECT_EQ(u.status, 2) << c.message;
        EXPECT_NE(u.err.find(c.message), std::string::npos) << u.err;
        EXPECT_NE(u.err.find("--help'"), std::string::npos) << u.err;
        EXPECT_EQ(u.out, "");
    }
}

// The list in help, each command's own help and the message without a command
// all come from the one table: none may forget a command (the message once
// left out `package`).
TEST(CommandLine, EveryCommandIsListedHelpedAndNamedWhenNoneIsGiven) {
    const char* const all[] = {"sources", "new",    "compile", "check", "package", "dump",
                               "plan",    "format", "view",    "lsp",   "import",  "export"};
    const command_output help = test_support::run_tool({"--help"});
    const command_output none = test_support::run_tool({});
    EXPECT_EQ(none.err,
              "scenario: give a command: sources, new, compile, check, package, dump, plan, format, view, "
              "lsp, import "
              "or export\n"
              "Try 'scenario --help'.\n");
    std::size_t listed_at = 0;
    for (const char* command : all) {
        SCOPED_TRACE(command);
        const std::size_t at = help.out.find(std::string("\n  ") + command + " ");
        ASSERT_NE(at, std::string::npos);
        EXPECT_GT(at, listed_at);  // in the table's order
        listed_at = at;
        const command_output own = test_support::run_tool({command, "--help"});
        EXPECT_EQ(own.status, 0);
        EXPECT_NE(own.out.find(std::string("Usage: scenario ") + command), std::string::npos) << own.out;
        EXPECT_NE(own.out.find("Exit status: 0 success, 1 the input holds errors"), std::string::npos);
    }
}

class CompileText : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(root_ / "l.txt", testo_lista(sorgenti::righe_linea()));
        write_file(root_ / "r.txt", testo_lista(sorgenti::righe_treno()));
    }

    command_output compile(const std::string& line, const std::string& run, const std::string& name = "N") {
        return test_support::run_tool({"compile", "--line", (root_ / line).string(), "--run",
                                       (root_ / run).string(), "--name", name, "--train", "1", "--out",
                                       (root_ / "out").string()});
    }

    test_support::temporary_directory root_{"scenario_tool_cli_"};
};

TEST_F(CompileText, InputThatCannotBeReadOrNamesThatCannotNameFilesExitWithTwo) {
    command_output u = compile("l.txt", "missing.txt");
    EXPECT_EQ(u.status, 2);
    EXPECT_NE(u.err.find("missing.txt: no such file"), std::string::npos) << u.err;
    u = compile("l.txt", ".");
    EXPECT_EQ(u.status, 2);
    EXPECT_NE(u.err.find("is a directory"), std::string::npos) << u.err;
    for (const char* name : {"a/b", "a\\b", "", ".."}) {
        u = compile("l.txt", "r.txt", name);
        EXPECT_EQ(u.status, 2) << name;
        EXPECT_NE(u.err.find("the scenario name"), std::string::npos) << u.err;
    }
    EXPECT_FALSE(fs::exists(root_ / "out"));
}

TEST_F(CompileText, TheReportNamesFileLineSeverityAndTheErrorRecord) {
    command_output u = compile("l.txt", "r.txt");
    EXPECT_EQ(u.status, 0) << u.err;
    EXPECT_EQ(u.err, "");
    EXPECT_NE(u.out.find("compiled without errors"), std::string::npos);

    // The program's signal at 3650 m given twice: the second one fails.
    std::string run = testo_lista(sorgenti::righe_treno());
    const std::string signal = "segnale,    3650,   1, 4, 1,  0, 0,    0,  0,0,0, 0\r\n";
    const std::size_t at = run.find(signal);
    ASSERT_NE(at, std::string::npos);
    run.insert(at, signal);
    const int line =
        2 + static_cast<int>(std::count(run.begin(), run.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    write_file(root_ / "twice.txt", run);
    u = compile("l.txt", "twice.txt");
    EXPECT_EQ(u.status, 1);
    const std::string expected =
        (root_ / "twice.txt").string() + ":" + std::to_string(line) +
        ": reader error 16 at 3650 m: signal at 3650 m: its cell (3700 to 3750 m) is already "
        "taken by a signal (the signal at 3650 m on line " +
        std::to_string(line - 1) + ") [reading stopped there]\n";
    EXPECT_NE(u.err.find(expected), std::string::npos) << u.err;
    EXPECT_NE(u.err.find("error record: codice_errore 16, posizione_errore 3650\n"), std::string::npos)
        << u.err;
    // The files are written all the same, as the program writes them.
    EXPECT_TRUE(fs::exists(root_ / "out" / "N_1.dat"));
}

}  // namespace
}  // namespace scenario::tool
