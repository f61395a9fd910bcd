// The JSON of `compile --json`: the error record exactly as the compile left
// it, every error with the same keys, the fatal stamp error on its own, and
// valid JSON whatever bytes the inputs and their names hold.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tests/support/files.h"
#include "tools/command_line.h"
#include "tools/words/text_encoding.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace scenario::tool {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;  // the order of the keys is part of the output
using test_support::write_file;

TEST(TextEncoding, Windows1252TextsBecomeUtf8) {
    EXPECT_EQ(from_windows1252("S.MOMME'"), "S.MOMME'");
    EXPECT_EQ(from_windows1252("\xC8\x80\x9F\xFF"), "\xC3\x88\xE2\x82\xAC\xC5\xB8\xC3\xBF");
    EXPECT_EQ(from_windows1252("\x81"), "\xC2\x81");  // undefined in the code page: kept
}

TEST(TextEncoding, InvalidUtf8BecomesTheReplacementCharacter) {
    EXPECT_EQ(valid_utf8("caff\xC3\xA8"), "caff\xC3\xA8");
    EXPECT_EQ(valid_utf8("bad\xE8 end"), "bad\xEF\xBF\xBD end");
    EXPECT_EQ(valid_utf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");  // no surrogates
}

class CompileJson : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(root_ / "l.txt", testo_lista(sorgenti::righe_linea()));
        write_file(root_ / "r_ok.txt", testo_lista(sorgenti::righe_treno()));
    }

    // Compiles l.txt with `run` into out/ as NAME_1 and gives the parsed report.
    json compile(const std::string& run_name, const std::string& name, int expected_status) {
        std::ostringstream o, e;
        EXPECT_EQ(tool::run({"compile", "--line", (root_ / "l.txt").string(), "--run",
                             root_.path().string() + "/" + run_name, "--name", name, "--train", "1", "--out",
                             (root_ / "out").string(), "--json"},
                            o, e),
                  expected_status)
            << e.str();
        EXPECT_EQ(e.str(), "");
        return json::parse(o.str());
    }
    test_support::temporary_directory root_{"scenario_tool_json_"};
};

const char* const report_keys[] = {
    "codice_errore",      "posizione_errore", "fatal",   "last_error",    "errors", "warnings",
    "warnings_not_shown", "not_read",         "written", "running_times", "failure"};
const char* const error_keys[] = {"severity", "code", "number", "message",  "description",
                                  "file",     "line", "column", "position", "related"};

void expect_keys(const json& object, const char* const* begin, const char* const* end) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : object.items())
        keys.push_back(key);
    EXPECT_EQ(keys, std::vector<std::string>(begin, end)) << object.dump();
}

TEST_F(CompileJson, ACleanCompileListsTheFilesWritten) {
    const json r = compile("r_ok.txt", "X", 0);
    expect_keys(r, std::begin(report_keys), std::end(report_keys));
    EXPECT_EQ(r["codice_errore"], 0);
    EXPECT_EQ(r["posizione_errore"], 0);
    EXPECT_TRUE(r["fatal"].is_null());
    EXPECT_TRUE(r["last_error"].is_null());
    EXPECT_EQ(r["errors"], json::array());
    EXPECT_TRUE(r["failure"].is_null());
    ASSERT_EQ(r["written"].size(), 3u);
    for (const json& w : r["written"])
        EXPECT_TRUE(fs::exists(w.get<std::string>())) << w;
}

TEST_F(CompileJson, EveryErrorHasTheSameKeysAndTheRecordIsTheLast) {
    // A run description with an odd station name and a duplicated signal.
    std::string run = testo_lista(sorgenti::righe_treno());
    run.replace(run.find("CALVENA\r\n"), 7, "CAL\"VE\\NA \xE8");
    const std::string signal = "segnale,    3650,   1, 4, 1,  0, 0,    0,  0,0,0, 0\r\n";
    run.insert(run.find(signal), signal);
    write_file(root_ / "r.txt", run);

    const json r = compile("r.txt", "Calvena_Roccalba", 1);
    EXPECT_EQ(r["codice_errore"], 16);
    EXPECT_EQ(r["posizione_errore"], 3650);
    EXPECT_TRUE(r["fatal"].is_null());
    ASSERT_FALSE(r["errors"].empty());
    for (const json& error : r["errors"])
        expect_keys(error, std::begin(error_keys), std::end(error_keys));
    const json& last = r["errors"].back();
    EXPECT_EQ(r["last_error"], last);
    EXPECT_EQ(last["severity"], "reader");
    EXPECT_EQ(last["number"], 16);
    EXPECT_EQ(last["position"], 3650);
    EXPECT_EQ(last["file"], root_.path().string() + "/r.txt");  // as given
    EXPECT_TRUE(last["line"].is_number_integer());
    EXPECT_EQ(last["message"].get<std::string>().rfind("signal at 3650 m: ", 0), 0u) << last;
    // Its second place: the first signal, on the line before, which holds the cell.
    ASSERT_EQ(last["related"].size(), 1u) << last;
    const json& first_signal = last["related"][0];
    EXPECT_EQ(first_signal["file"], last["file"]);
    EXPECT_EQ(first_signal["line"], last["line"].get<int>() - 1);
    EXPECT_EQ(first_signal["column"], 1);
    EXPECT_EQ(first_signal["message"], "the cell is taken by the signal at 3650 m placed here");
    EXPECT_EQ(r["written"].size(), 3u);

    // The odd name comes out of the run file as UTF-8, quotes and all.
    std::ostringstream o, e;
    ASSERT_EQ(tool::run({"dump", (root_ / "out" / "Calvena_Roccalba_1.sim").string()}, o, e), 0) << e.str();
    EXPECT_EQ(json::parse(o.str())[0]["voci"][1]["testo"], "CAL\"VE\\NA \xC3\xA8");
}

TEST_F(CompileJson, AFatalStampErrorHasItsOwnKeyAndLeavesTheRecordAlone) {
    // A signal at 0 m takes cell 1, where the identity is stamped; a signal
    // given twice makes the reader record error 16 before the stamp fails.
    write_file(root_ / "fatal.txt",
               "[generale]\r\nsegnale, 0, 1, 4, 1, 0, 0, 0, 0,0,0, 0\r\n"
               "segnale, 3650, 1, 4, 1, 0, 0, 0, 0,0,0, 0\r\nsegnale, 3650, 1, 4, 1, 0, 0, 0, 0,0,0, "
               "0\r\n[fine]\r\n");
    const json r = compile("fatal.txt", "Y", 1);
    ASSERT_TRUE(r["fatal"].is_object()) << r.dump(2);
    EXPECT_EQ(r["fatal"]["number"], 1250);
    EXPECT_FALSE(r["fatal"]["message"].get<std::string>().empty());
    // The record holds the reader's error, as the compile left it.
    EXPECT_EQ(r["codice_errore"], 16);
    EXPECT_EQ(r["posizione_errore"], 3650);
    EXPECT_EQ(r["written"], json::array());
    EXPECT_FALSE(fs::exists(root_ / "out" / "Y_1.dat"));
    // Listed in line order: the stamp error is about the signal on line 2,
    // error 16 about line 4; the last error recorded is still the stamp's.
    ASSERT_EQ(r["errors"].size(), 2u);
    EXPECT_EQ(r["errors"][0]["severity"], "fatal");
    EXPECT_EQ(r["errors"][0]["line"], 2);
    EXPECT_EQ(r["errors"][1]["number"], 16);
    EXPECT_EQ(r["errors"][1]["line"], 4);
    EXPECT_EQ(r["last_error"]["number"], 1250);
}

TEST_F(CompileJson, AFailureIsReportedAndNamesThatAreNotUtf8StillGiveValidJson) {
    const json r = compile("missing \xFF.txt", "Z", 2);
    ASSERT_TRUE(r["failure"].is_string());
    EXPECT_NE(r["failure"].get<std::string>().find("missing \xEF\xBF\xBD.txt: no such file"),
              std::string::npos)
        << r["failure"];
    EXPECT_EQ(r["codice_errore"], 0);
    EXPECT_EQ(r["written"], json::array());
}

}  // namespace
TEST_F(CompileJson, CheckGivesTheRunningTimesWithTheTrainModelAsGiven) {
    const auto check = [&](std::vector<std::string> model, int expected_status) {
        std::vector<std::string> args = {"check",
                                         "--line",
                                         (root_ / "l.txt").string(),
                                         "--run",
                                         (root_ / "r_ok.txt").string(),
                                         "--name",
                                         "Calvena_Roccalba",
                                         "--train",
                                         "4127",
                                         "--json"};
        args.insert(args.end(), model.begin(), model.end());
        std::ostringstream o, e;
        EXPECT_EQ(tool::run(args, o, e), expected_status) << e.str();
        return expected_status == 0 ? json::parse(o.str()) : json();
    };
    // Rates of 1 m/s2 and no length: CALVENA to CORBEZZI, 17550 m at 80 km/h
    // and the 60 s stop (849.75 s), plus 80/3.6 s to start and to stop.
    const json r = check({"--acceleration", "1", "--braking", "1", "--train-length", "0"}, 0);
    ASSERT_EQ(r["running_times"].size(), 6u);
    const json& first = r["running_times"][0];
    EXPECT_EQ(first["from"]["station"], "CALVENA");
    EXPECT_EQ(first["to"]["station"], "CORBEZZI");
    EXPECT_EQ(first["scheduled"], 1020);
    EXPECT_EQ(first["bound"], 849.8);
    EXPECT_EQ(first["estimate"], 872.0);
    EXPECT_EQ(first["below_bound"], false);
    // A rate that is not above 0 is refused.
    check({"--acceleration", "0"}, 2);
    check({"--train-length", "-5"}, 2);
}

}  // namespace scenario::tool
