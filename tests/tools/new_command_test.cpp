// `scenario new`: the pair of sources it writes is a scenario of its own that
// compiles with no error and no warning, with and without the track plan,
// holds what its help promises, and never replaces an author's files unasked.
#include "tools/commands/new_command.h"

#include "compiler/route_facts.h"
#include "tests/support/files.h"
#include "tests/support/tool_run.h"
#include "tools/command_line.h"
#include "tools/core/memory_compile.h"
#include "tools/words/warning_words.h"

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
using test_support::read_file;
using test_support::write_file;

std::string listed_warnings(const compiled_sources& c) {
    std::string t;
    for (const worded_warning& w : word_warnings(*c.state, c.log, {}).list)
        t += "\n  line " + std::to_string(w.line) + ": " + w.message;
    return t;
}

TEST(NewScenario, CompilesWithoutAnErrorOrAWarningWithAndWithoutThePlan) {
    const std::vector<new_source> files = new_scenario_sources("Valle_Nuova", "2201");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "Valle_Nuova_linea.txt");
    EXPECT_EQ(files[1].name, "Valle_Nuova_2201-.txt");
    for (bool plan : {true, false}) {
        SCOPED_TRACE(plan ? "with the plan" : "without the plan");
        const compiled_sources c =
            compile_texts(files[0].bytes, files[1].bytes, {"Valle_Nuova", "2201"}, plan);
        EXPECT_FALSE(c.stamp);
        EXPECT_TRUE(c.errors.empty());
        EXPECT_EQ(c.state->codice_errore, 0);
        EXPECT_TRUE(c.log.warnings.empty()) << listed_warnings(c);
    }
}

// What the help and the README say the scenario holds.
TEST(NewScenario, HoldsTheRouteAndRunItsHelpDescribes) {
    const std::vector<new_source> files = new_scenario_sources("Valle_Nuova", "2201");
    const compiled_sources c = compile_texts(files[0].bytes, files[1].bytes, {"Valle_Nuova", "2201"}, true);
    const stato_scenario& s = *c.state;
    EXPECT_EQ(route::route_length(s.celle, s.voci), 6000);

    const std::vector<route::station> stations = route::stations(s.celle, s.voci, &c.log);
    ASSERT_EQ(stations.size(), 2u);
    EXPECT_EQ(stations[0].position, 0);
    EXPECT_EQ(stations[0].departure, 8 * 3600);
    EXPECT_EQ(stations[1].position, 5800);
    EXPECT_EQ(stations[1].arrival, 8 * 3600 + 6 * 60);

    const std::vector<route::signal> signals = route::signals(s.celle);
    ASSERT_EQ(signals.size(), 1u);
    EXPECT_EQ(signals[0].position, 5000);

    const std::vector<route::tunnel> tunnels = route::tunnels(s.celle, 6000);
    ASSERT_EQ(tunnels.size(), 1u);
    EXPECT_EQ(tunnels[0].from, 3000);
    EXPECT_EQ(tunnels[0].to, 3500);
    EXPECT_EQ(route::tunnel_boards(s.celle, s.voci).size(), 1u);

    struct at_cell {
        std::size_t cell;
        int speed_kmh;
        int gradient;
    };
    for (const at_cell& a : {at_cell{10, 80, 0}, at_cell{30, 80, 10}, at_cell{79, 80, 10}, at_cell{80, 60, 0},
                             at_cell{119, 60, 0}}) {
        EXPECT_EQ(route::cell_speed_kmh(s.celle[a.cell]), a.speed_kmh) << a.cell;
        EXPECT_EQ(route::cell_gradient(s.celle[a.cell]), a.gradient) << a.cell;
    }
    // The plan bends: the end of the line lies off the starting axis.
    EXPECT_NE(s.tracciato.at(6000, 0).reale, 0.0);
}

TEST(NewScenario, WritesEightBitTextWithCrLfThatCheckReadsClean) {
    test_support::temporary_directory root("scenario_tool_new_");
    const fs::path dir = root / "work";
    command_output u = test_support::run_tool({"new", "Valle_Nuova", "2201", dir.string()});
    ASSERT_EQ(u.status, 0) << u.err;
    EXPECT_NE(u.out.find("wrote " + (dir / "Valle_Nuova_linea.txt").string()), std::string::npos) << u.out;
    EXPECT_NE(u.out.find("wrote " + (dir / "Valle_Nuova_2201-.txt").string()), std::string::npos) << u.out;

    for (const char* name : {"Valle_Nuova_linea.txt", "Valle_Nuova_2201-.txt"}) {
        const std::string bytes = read_file(dir / name);
        EXPECT_TRUE(bytes.starts_with("[generale]\r\n")) << name;
        EXPECT_TRUE(bytes.ends_with("[fine]\r\n")) << name;
        const auto lf = std::count(bytes.begin(), bytes.end(), '\n');
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), lf) << name;
        EXPECT_EQ(bytes.find("\n\r"), std::string::npos);
        EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x80;
        })) << name;
    }

    // The names come from the file names, as for any author's pair.
    u = test_support::run_tool({"check", "--line", (dir / "Valle_Nuova_linea.txt").string(), "--run",
                                (dir / "Valle_Nuova_2201-.txt").string(), "--strict"});
    EXPECT_EQ(u.status, 0) << u.out << u.err;
    EXPECT_EQ((u.out + u.err).find("warning ["), std::string::npos) << u.out << u.err;
}

TEST(NewScenario, KeepsExistingFilesUnlessForcedAndRefusesNamesThatCannotNameFiles) {
    test_support::temporary_directory root("scenario_tool_new_");
    write_file(root / "Nuova_1-.txt", "mine\r\n");
    command_output u = test_support::run_tool({"new", "Nuova", "1", root.path().string()});
    EXPECT_EQ(u.status, 2);
    EXPECT_NE(u.err.find("exist already"), std::string::npos) << u.err;
    EXPECT_NE(u.err.find("Nuova_1-.txt"), std::string::npos) << u.err;
    EXPECT_EQ(read_file(root / "Nuova_1-.txt"), "mine\r\n");
    EXPECT_FALSE(fs::exists(root / "Nuova_linea.txt")) << "nothing is written when one file is refused";

    u = test_support::run_tool({"new", "Nuova", "1", root.path().string(), "--force"});
    EXPECT_EQ(u.status, 0) << u.err;
    EXPECT_TRUE(read_file(root / "Nuova_1-.txt").starts_with("[generale]\r\n"));

    for (const std::vector<std::string>& names :
         {std::vector<std::string>{"a/b", "1"}, {"Nuova", ""}, {"Nu\xC3\xB2va", "1"}, {"Nuova", ".."}}) {
        u = test_support::run_tool({"new", names[0], names[1], (root / "other").string()});
        EXPECT_EQ(u.status, 2) << names[0] << " " << names[1];
        EXPECT_NE(u.err.find("scenario new: the "), std::string::npos) << u.err;
        EXPECT_FALSE(fs::exists(root / "other"));
    }
}

}  // namespace
}  // namespace scenario::tool
