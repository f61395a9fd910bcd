// `scenario dump`: compiled files into JSON, and a clear error with the byte
// offset for files that are truncated or are not compiled files at all.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tests/support/files.h"
#include "tools/command_line.h"
#include "tools/compile_command.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace scenario::tool {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using test_support::read_file;
using test_support::write_file;

struct command_output {
    int status;
    std::string out;
    std::string err;
    json parsed() const { return json::parse(out); }
};
command_output run_dump(std::vector<std::string> words) {
    words.insert(words.begin(), "dump");
    std::ostringstream o, e;
    const int status = run(words, o, e);
    return {status, o.str(), e.str()};
}

class Dump : public ::testing::Test {
protected:
    // The program's scenario, compiled once for every test.
    static void SetUpTestSuite() {
        root_ = new test_support::temporary_directory("scenario_tool_dump_");
        write_file(*root_ / "l.txt", testo_lista(sorgenti::righe_linea()));
        write_file(*root_ / "r.txt", testo_lista(sorgenti::righe_treno()));
        const tool::esito_compilazione e = tool::compila_sorgenti(
            {*root_ / "l.txt", *root_ / "r.txt", "Calvena_Roccalba", "4127", true, *root_ / "out"});
        ASSERT_FALSE(e.guasto);
        ASSERT_TRUE(e.errori.empty());
    }
    static void TearDownTestSuite() { delete root_; }

    static fs::path compiled(const std::string& name) { return *root_ / "out" / name; }
    static fs::path cells() { return compiled("Calvena_Roccalba_4127.dat"); }
    static fs::path run_file() { return compiled("Calvena_Roccalba_4127.sim"); }
    static fs::path line() { return compiled("Calvena_Roccalba_linea.dat"); }
    static fs::path file(const std::string& name) { return *root_ / name; }

    static test_support::temporary_directory* root_;
};
test_support::temporary_directory* Dump::root_ = nullptr;

TEST_F(Dump, CellFileEveryCellWithItsElevenFields) {
    const command_output u = run_dump({cells().string()});
    ASSERT_EQ(u.status, 0) << u.err;
    const json files = u.parsed();
    ASSERT_EQ(files.size(), 1u);
    const json& f = files[0];
    EXPECT_EQ(f["kind"], "cells");
    EXPECT_EQ(f["cell_count"], 941);
    ASSERT_EQ(f["celle"].size(), 941u);
    // Cell 1 carries the identity stamp; cell 940 is the last.
    EXPECT_EQ(f["celle"][1]["index"], 1);
    EXPECT_EQ(f["celle"][1]["dato1"], 5121);
    EXPECT_EQ(f["celle"][940]["index"], 940);
    // Cell 74 holds the program's first signal (3650 m), every field in the record's order.
    const json expected = json::parse(
        R"({"index": 74, "tipo": 1, "dato1": 40, "dato2": 10, "dato3": 0, "dato4": 3, "dato5": 0, "dato6": 0,
            "galleria": 0, "velocita": 16})");
    for (const auto& [key, value] : expected.items())
        EXPECT_EQ(f["celle"][74][key], value) << key;
    std::vector<std::string> keys;
    for (const auto& [key, value] : f["celle"][74].items())
        keys.push_back(key);
    EXPECT_EQ(keys.size(), 12u);
    EXPECT_EQ(u.out.find("\"index\":74,\"tipo\":1,\"dato1\":40,"), u.out.find("\"index\":74,"))
        << "key order";
}

TEST_F(Dump, RunFileEveryRecordWithItsFields) {
    const command_output u = run_dump({run_file().string()});
    ASSERT_EQ(u.status, 0) << u.err;
    const json f = u.parsed()[0];
    ASSERT_EQ(f["voci"].size(), 87u);
    EXPECT_EQ(f["voci"][1],
              json::parse(R"({"index": 1, "tipo": 4, "valore1": -300, "valore2": 300, "valore3": 0,
        "byte1": 0, "testo": "CALVENA", "intero1": 1, "intero2": 1, "intero3": 4, "intero4": 1, "intero5": 1,
        "byte2": 0, "byte3": 1, "byte4": 0, "byte5": 0, "valore4": 58800})"));
    EXPECT_NE(u.out.find("\"testo\":\"S.MOMME'\""), std::string::npos);
}

TEST_F(Dump, LineFilePointCountAndPointsOnRequest) {
    command_output u = run_dump({line().string()});
    ASSERT_EQ(u.status, 0) << u.err;
    EXPECT_EQ(u.parsed()[0]["point_count"], 47001);
    EXPECT_FALSE(u.parsed()[0].contains("points"));

    u = run_dump({line().string(), "--points", "0:2"});
    ASSERT_EQ(u.status, 0) << u.err;
    // Points 0 and 1 hold 16-bit integers, the rest doubles, written as such.
    const json points = u.parsed()[0]["points"];
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0], json::parse(R"({"p": 0, "x": 0, "y": 0})"));
    EXPECT_EQ(points[1], json::parse(R"({"p": 1, "x": 0, "y": 1})"));
    EXPECT_TRUE(points[2]["x"].is_number_float());
    EXPECT_TRUE(points[1]["x"].is_number_integer());
    EXPECT_NE(u.out.find("{\"p\":2,\"x\":0.0,\"y\":2.0}"), std::string::npos) << u.out;

    // The last two points were never assigned; a range past the end stops there.
    u = run_dump({line().string(), "--points=46999:99999999"});
    ASSERT_EQ(u.status, 0) << u.err;
    const json f = u.parsed()[0];
    EXPECT_EQ(f["to"], 47000);
    EXPECT_EQ(f["points"].back(), json::parse(R"({"p": 47000, "x": null, "y": null})"));
}

TEST_F(Dump, KindComesFromTheContentWhenTheNameDoesNotTellIt) {
    write_file(file("a.bin"), read_file(cells()));
    write_file(file("b.bin"), read_file(run_file()));
    write_file(file("c.bin"), read_file(line()));
    const command_output u =
        run_dump({file("a.bin").string(), file("b.bin").string(), file("c.bin").string()});
    ASSERT_EQ(u.status, 0) << u.err;
    const json files = u.parsed();
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0]["kind"], "cells");
    EXPECT_EQ(files[1]["kind"], "run");
    EXPECT_EQ(files[2]["kind"], "line");
    for (const json& f : files)
        EXPECT_EQ(f["recognised_by"], "content");
}

TEST_F(Dump, TruncatedAndGarbageFilesNameTheOffset) {
    struct test_case {
        const char* name;
        std::string bytes;
        std::string expected;  // in the error message
    };
    const std::string c = read_file(cells()), r = read_file(run_file()), l = read_file(line());
    std::mt19937 generator(7);
    std::string noise(4000, '\0');
    for (char& x : noise)
        x = static_cast<char>(generator() & 0xFF);
    const test_case cases[] = {
        // 20 bytes: one whole cell, then 5 bytes of the second, which begins at offset 15.
        {"t1_4127.dat", c.substr(0, 20), "at byte offset 15"},
        // Cut inside the text of record 1 ("CALVENA"), whose length stands at 34 + 14.
        {"t2_4127.sim", r.substr(0, 52), "at byte offset 48"},
        // A run file with bytes after its 87 records.
        {"t3_4127.sim", r + "xy", "at byte offset " + std::to_string(r.size())},
        // Cut inside the double of point 2, whose tag stands at offset 8.
        {"t4_linea.dat", l.substr(0, 12), "at byte offset 8"},
        {"garbage.sim", noise, "not a valid run file"},
        {"garbage.bin", noise, "not a compiled file"},
        {"empty.bin", std::string(), "not a compiled file"},
    };
    for (const test_case& k : cases) {
        SCOPED_TRACE(k.name);
        write_file(file(k.name), k.bytes);
        const command_output u = run_dump({file(k.name).string()});
        EXPECT_EQ(u.status, 1);
        EXPECT_NE(u.err.find(k.expected), std::string::npos) << u.err;
        const json error = u.parsed()[0]["error"];
        EXPECT_TRUE(error["offset"].is_number_unsigned()) << u.out;
        const std::size_t at = k.expected.find("offset ");
        if (at != std::string::npos) {
            EXPECT_EQ(std::to_string(error["offset"].get<std::size_t>()), k.expected.substr(at + 7));
        }
    }
}

TEST_F(Dump, EveryFileIsReportedAndTheStatusSaysTheWorst) {
    write_file(file("short_4127.dat"), "abc");
    command_output u = run_dump({cells().string(), file("short_4127.dat").string()});
    EXPECT_EQ(u.status, 1);
    json files = u.parsed();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0]["cell_count"], 941);
    EXPECT_EQ(files[1]["file"], file("short_4127.dat").string());

    u = run_dump({file("short_4127.dat").string(), file("missing.dat").string()});
    EXPECT_EQ(u.status, 2);
    EXPECT_NE(u.err.find("no such file"), std::string::npos);
    files = u.parsed();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_TRUE(files[1]["error"]["offset"].is_null());

    struct test_case {
        std::vector<std::string> words;
        const char* message;
    } cases[] = {
        {{}, "FILE is required"},
        {{cells().string(), "--points", "5:2"}, "--points takes FROM:TO"},
        {{cells().string(), "--points", "x"}, "--points takes FROM:TO"},
        {{cells().string(), "--kind", "map"}, "--kind takes line, run or cells"},
        {{cells().string(), "--bogus"}, "--bogus"},
    };
    for (const test_case& c : cases) {
        u = run_dump(c.words);
        EXPECT_EQ(u.status, 2) << u.err;
        EXPECT_NE(u.err.find(c.message), std::string::npos) << u.err;
        EXPECT_EQ(u.out, "");
    }
}

TEST_F(Dump, KindCanBeForced) {
    // A cell file read as a run file is not one.
    command_output u = run_dump({cells().string(), "--kind", "run"});
    EXPECT_EQ(u.status, 1);
    write_file(file("celle.bin"), read_file(cells()));
    u = run_dump({file("celle.bin").string(), "--kind=cells"});
    EXPECT_EQ(u.status, 0) << u.err;
    EXPECT_EQ(u.parsed()[0]["recognised_by"], "option");
}

}  // namespace
}  // namespace scenario::tool
