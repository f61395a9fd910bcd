// `scenario dump`: compiled files into JSON, and a clear error with the byte
// offset for files that are truncated or are not compiled files at all.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tests/support/files.h"
#include "tests/support/tool_run.h"
#include "tools/command_line.h"
#include "tools/commands/compile_command.h"
#include "tools/words/compiled_json.h"

#include <algorithm>
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

struct command_output : test_support::command_output {
    json parsed() const { return json::parse(out); }
};
command_output run_dump(std::vector<std::string> words) {
    words.insert(words.begin(), "dump");
    return {test_support::run_tool(words)};
}

class Dump : public ::testing::Test {
protected:
    // The program's scenario, compiled once for every test.
    static void SetUpTestSuite() {
        root_ = new test_support::temporary_directory("scenario_tool_dump_");
        write_file(*root_ / "l.txt", testo_lista(sorgenti::righe_linea()));
        write_file(*root_ / "r.txt", testo_lista(sorgenti::righe_treno()));
        const tool::compile_result e = tool::compile_sources(
            {{*root_ / "l.txt", *root_ / "r.txt", {"Calvena_Roccalba", "4127"}}, true, *root_ / "out"});
        ASSERT_TRUE(e.status) << e.status.error();
        ASSERT_TRUE(e.errors.empty());
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
    // The eleven stored fields in the record's order, each readable value after its own.
    std::vector<std::string> keys;
    const auto in_order = nlohmann::ordered_json::parse(u.out);
    for (const auto& [key, value] : in_order[0]["celle"][74].items())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"index", "start_m", "start_km", "tipo", "tipo_name",
                                              "item_position_m", "item_position_km", "dato1", "dato2",
                                              "dato3", "dato4", "dato5", "dato6", "galleria", "velocita",
                                              "velocita_kmh", "pendenza", "pendenza_per_mille", "aderenza"}));
}

TEST_F(Dump, RunFileEveryRecordWithItsFields) {
    const command_output u = run_dump({run_file().string()});
    ASSERT_EQ(u.status, 0) << u.err;
    const json f = u.parsed()[0];
    ASSERT_EQ(f["voci"].size(), 87u);
    const json stored = json::parse(R"({"index": 1, "tipo": 4, "valore1": -300, "valore2": 300, "valore3": 0,
        "byte1": 0, "testo": "CALVENA", "intero1": 1, "intero2": 1, "intero3": 4, "intero4": 1, "intero5": 1,
        "byte2": 0, "byte3": 1, "byte4": 0, "byte5": 0, "valore4": 58800})");
    for (const auto& [key, value] : stored.items())
        EXPECT_EQ(f["voci"][1][key], value) << key;
    // Record 0 is no station and has no readable value: its stored fields alone.
    EXPECT_EQ(f["voci"][0].size(), stored.size());
    EXPECT_NE(u.out.find("\"testo\":\"S.MOMME'\""), std::string::npos);
}

// Beside the raw fields of the program's own scenario, what they mean.
TEST_F(Dump, ReadableValuesStandBesideTheRawFields) {
    const json c = run_dump({cells().string()}).parsed()[0]["celle"];
    struct cell_row {
        int index;
        const char* readable;  // the readable keys expected, as JSON
    };
    const cell_row cells[] = {
        // The first signal (3650 m) stands in the cell after it; 80 km/h; 24 per mille from 3650 m.
        {74, R"({"start_m": 3700, "start_km": 3.7, "tipo_name": "signal", "item_position_m": 3650,
                 "item_position_km": 3.65, "velocita_kmh": 80, "pendenza_per_mille": 24})"},
        // The slowdown at 18650 m, 30 km/h: its advance, start and end cells keep the speed whole.
        {350, R"({"start_m": 17500, "tipo_name": "slowdown advance cell", "item_position_m": 17450,
                  "dato1_kmh": 30})"},
        {374, R"({"start_m": 18700, "start_km": 18.7, "tipo_name": "slowdown start", "item_position_m": 18650,
                  "dato1_kmh": 30})"},
        {380, R"({"tipo_name": "slowdown end", "item_position_m": 18950, "dato1_kmh": 30})"},
        // A gradient of -17 per mille from 25350 m; a free cell.
        {510, R"({"start_m": 25500, "start_km": 25.5, "tipo_name": "free cell", "pendenza_per_mille": -17})"},
        // The last three cells get no speed limit.
        {940, R"({"start_m": 47000, "velocita_kmh": 0})"},
    };
    for (const cell_row& r : cells) {
        const json readable = json::parse(r.readable);
        for (const auto& [key, value] : readable.items())
            EXPECT_EQ(c[r.index][key], value) << "cell " << r.index << " " << key;
    }
    EXPECT_FALSE(c[74].contains("dato1_kmh")) << "a signal's dato1 is no speed";
    EXPECT_FALSE(c[510].contains("item_position_m")) << "nothing stands in a free cell";

    const json v = run_dump({run_file().string()}).parsed()[0]["voci"];
    struct record_row {
        int index;
        const char* readable;
    };
    const record_row records[] = {
        {1, R"({"valore1_km": -0.3, "valore2_km": 0.3, "valore3_km": 0.0, "valore4_time": "16:20:00"})"},
        // Passed without a time.
        {2, R"({"valore3_km": 1.8, "valore4_time": null})"},
        // Its nonzero field 6 puts the area's end 50 m later.
        {5, R"({"valore1_km": 17.45, "valore2_km": 17.7, "valore3_km": 17.55, "valore4_time": "16:37:00"})"},
        {12, R"({"valore3_km": 39.8, "valore4_time": "17:08:00"})"},
        {84, R"({"valore2_km": 40.0})"},
        {86, R"({"intero5_clock": "16:19:30"})"},
    };
    for (const record_row& r : records) {
        const json readable = json::parse(r.readable);
        for (const auto& [key, value] : readable.items())
            EXPECT_EQ(v[r.index][key], value) << "record " << r.index << " " << key;
    }
    // A tunnel-name board's record is no station.
    EXPECT_EQ(v[80]["testo"], "(VAIONI)(535 m.)");
    EXPECT_FALSE(v[80].contains("valore4_time"));
    EXPECT_FALSE(v[13].contains("valore4_time")) << "only twelve stations";
}

// A time past midnight goes on counting hours; a negative sum (negative
// minutes, say) keeps its sign; a clock keeps the three numbers as stored.
TEST(DumpReadable, TimesOutsideOneDayAndClocksAsStored) {
    struct row {
        int32_t seconds;
        const char* shown;
    };
    for (const row& r : {row{1, "00:00:01"}, row{86399, "23:59:59"}, row{90000, "25:00:00"},
                         row{-60, "-00:01:00"}, row{360000, "100:00:00"}}) {
        voce station;
        station.valore4 = r.seconds;
        EXPECT_EQ(record_dump_json(3, station, true)["valore4_time"], r.shown) << r.seconds;
    }
    voce clock;
    clock.intero3 = 7;
    clock.intero4 = 75;
    clock.intero5 = -5;
    EXPECT_EQ(record_dump_json(voce_identita_treno, clock, false)["intero5_clock"], "07:75:-05");
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
        {{}, "give compiled files, or the text sources with --line and --run"},
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

TEST_F(Dump, CellsFromToAndOnlyTheNonEmptyOnes) {
    command_output u = run_dump({cells().string(), "--cells", "70:76"});
    ASSERT_EQ(u.status, 0) << u.err;
    json f = u.parsed()[0];
    EXPECT_EQ(f["cell_count"], 941);
    EXPECT_EQ(f["from"], 70);
    EXPECT_EQ(f["to"], 76);
    ASSERT_EQ(f["celle"].size(), 7u);
    EXPECT_EQ(f["celle"][0]["index"], 70);
    EXPECT_EQ(f["celle"][4]["tipo"], 1);  // the signal at 3650 m

    // A range past the end stops at the last cell; FROM: runs to it.
    u = run_dump({cells().string(), "--cells=935:5000"});
    ASSERT_EQ(u.status, 0) << u.err;
    EXPECT_EQ(u.parsed()[0]["to"], 940);
    EXPECT_EQ(u.parsed()[0]["celle"].size(), 6u);
    u = run_dump({cells().string(), "--cells", "938:"});
    EXPECT_EQ(u.parsed()[0]["celle"].size(), 3u);
    for (const char* bad : {"5", "9:3", "a:b", "-1:4"})
        EXPECT_EQ(run_dump({cells().string(), "--cells", bad}).status, 2) << bad;

    // --non-empty keeps exactly the cells where something stands, whatever the profiles.
    const json all = run_dump({cells().string()}).parsed()[0]["celle"];
    u = run_dump({cells().string(), "--non-empty"});
    ASSERT_EQ(u.status, 0) << u.err;
    std::vector<int> expected, kept;
    for (const json& c : all) {
        bool placed = false;
        for (const char* key : {"tipo", "dato1", "dato2", "dato3", "dato4", "dato5", "dato6", "galleria"})
            placed = placed || c[key] != 0;
        if (placed)
            expected.push_back(c["index"]);
    }
    const json chosen = u.parsed()[0]["celle"];
    for (const json& c : chosen)
        kept.push_back(c["index"]);
    EXPECT_EQ(kept, expected);
    EXPECT_LT(kept.size(), 941u / 2);
    EXPECT_NE(std::find(kept.begin(), kept.end(), 74), kept.end());
    EXPECT_LT(kept.back(), 810) << "the run-off beyond the 40 km route is empty";
    // Both together: the non-empty cells of the range.
    u = run_dump({cells().string(), "--non-empty", "--cells", "70:76"});
    EXPECT_EQ(u.parsed()[0]["celle"].size(), 3u) << u.out;  // markers in 70 and 72, the signal in 74
}

// The 1-based line of the program's run description that holds `text`.
int run_line_of(const std::string& text) {
    const lista_righe lines = sorgenti::righe_treno();
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(text) != std::string::npos)
            return static_cast<int>(i) + 1;
    return 0;
}

TEST_F(Dump, WithTheSourcesEachCellAndRecordNamesTheLineThatPlacedIt) {
    const std::string l = file("l.txt").string(), r = file("r.txt").string();
    const command_output u = run_dump(
        {"--line", l, "--run", r, "--name", "Calvena_Roccalba", "--train", "4127", "--cells", "73:74"});
    ASSERT_EQ(u.status, 0) << u.err;
    const json files = u.parsed();
    // Nothing given to dump: the compile's own three files, as compile names them.
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0]["file"], "Calvena_Roccalba_linea.dat");
    EXPECT_EQ(files[1]["file"], "Calvena_Roccalba_4127.sim");
    EXPECT_EQ(files[2]["file"], "Calvena_Roccalba_4127.dat");
    EXPECT_EQ(files[2]["recognised_by"], "compiled");
    EXPECT_EQ(files[2]["bytes"], read_file(cells()).size());

    // The signal at 3650 m stands in cell 74; cell 73 holds only the profiles.
    const json& celle = files[2]["celle"];
    ASSERT_EQ(celle.size(), 2u);
    EXPECT_TRUE(celle[0]["source"].is_null());
    EXPECT_EQ(celle[1]["source"], (json{{"file", r}, {"line", run_line_of("segnale,    3650,")}}));
    const json& voci = files[1]["voci"];
    EXPECT_EQ(voci[1]["source"], (json{{"file", r}, {"line", run_line_of("CALVENA")}}));
    EXPECT_EQ(voci[80]["source"]["file"], l);  // the first tunnel-name board
    EXPECT_TRUE(voci[84]["source"].is_null());
    EXPECT_TRUE(voci[0]["source"].is_null());
}

TEST_F(Dump, CompiledFilesWithTheSourcesAreAnnotatedOnlyWhenTheyMatch) {
    const std::string l = file("l.txt").string(), r = file("r.txt").string();
    const std::vector<std::string> names = {"--name", "Calvena_Roccalba", "--train", "4127"};
    std::vector<std::string> words = {cells().string(), "--cells", "74:74", "--line", l, "--run", r};
    words.insert(words.end(), names.begin(), names.end());
    command_output u = run_dump(words);
    ASSERT_EQ(u.status, 0) << u.err;
    ASSERT_EQ(u.parsed().size(), 1u);
    EXPECT_EQ(u.parsed()[0]["celle"][0]["source"]["line"], run_line_of("segnale,    3650,"));

    // Sources with a second signal in the same cell: error 16, and the cell
    // file compiled before is no longer what they compile to.
    std::string run_text = testo_lista(sorgenti::righe_treno());
    const std::string signal = "segnale,    3650,   1, 4, 1,  0, 0,    0,  0,0,0, 0\r\n";
    ASSERT_NE(run_text.find(signal), std::string::npos);
    run_text.insert(run_text.find(signal), signal);
    write_file(file("r2.txt"), run_text);
    words[6] = file("r2.txt").string();
    u = run_dump(words);
    EXPECT_EQ(u.status, 1);
    EXPECT_NE(u.err.find("r2.txt:" + std::to_string(run_line_of("segnale,    3650,") + 1) + ": error 16"),
              std::string::npos)
        << u.err;
    EXPECT_NE(u.err.find("warning: "), std::string::npos) << u.err;
    EXPECT_TRUE(u.parsed()[0]["celle"][0]["source"].is_null());
}

TEST_F(Dump, SourceOptionsThatCannotWork) {
    const std::string l = file("l.txt").string(), r = file("r.txt").string();
    struct test_case {
        std::vector<std::string> words;
        const char* expected;
    };
    const test_case cases[] = {
        {{}, "give compiled files"},
        {{"--line", l}, "--line and --run go together"},
        {{cells().string(), "--name", "X"}, "go with --line and --run"},
        {{"--line", l, "--run", r}, "give it with --name"},  // l.txt names no scenario
        {{"--line", l, "--run", file("none.txt").string(), "--name", "A", "--train", "1"}, "none.txt"},
    };
    for (const test_case& c : cases) {
        const command_output u = run_dump(c.words);
        EXPECT_EQ(u.status, 2) << c.expected;
        EXPECT_NE(u.err.find(c.expected), std::string::npos) << u.err;
    }
}

}  // namespace
}  // namespace scenario::tool
