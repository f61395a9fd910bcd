// The page's data from one compile of the built-in scenario, and of the same
// scenario with a fault in its run description.
#include "tools/view/view_model.h"

#include "common/line_list.h"
#include "compiler/gradient_profile.h"
#include "sources/writers.h"
#include "tests/support/route_fixtures.h"
#include "tools/view/metre_words.h"
#include "tools/words/compiled_json.h"

#include <gtest/gtest.h>
#include <string>

namespace scenario::view {
namespace {

std::string line_source() {
    return testo_lista(sorgenti::righe_linea());
}
std::string run_source() {
    return testo_lista(sorgenti::righe_treno());
}

std::shared_ptr<const compiled_view> compile(std::string line, std::string run) {
    return compile_view(std::move(line), std::move(run), "Calvena_Roccalba", "4127",
                        {"w/Calvena_Roccalba_linea.txt", "w/Calvena_Roccalba_4127-.txt"});
}

// The run description with `extra` inserted after its line `after` (1-based).
std::string run_with_line(const std::string& extra, int after) {
    std::string run = run_source();
    std::size_t at = 0;
    for (int n = 0; n < after; ++n)
        at = run.find("\r\n", at) + 2;
    return run.insert(at, extra + "\r\n");
}

TEST(ViewModel, BuiltInScenario) {
    const auto v = compile(line_source(), run_source());
    const json m = model_json(*v);
    EXPECT_EQ(m["status"]["kind"], "compiled");
    EXPECT_TRUE(m["errors"].empty());
    EXPECT_EQ(m["length"], 40000);
    EXPECT_EQ(m["cells"], 941);
    EXPECT_LE(m["plan"].size(), 2002u);
    EXPECT_EQ(m["plan"].front()[0], 0);
    EXPECT_EQ(m["plan"].back()[0], 40000);

    // The twelve stations with the times of the train card.
    const json& st = m["stations"];
    ASSERT_EQ(st.size(), 12u);
    struct row {
        std::size_t n;
        const char* name;
        const char* arrival;
        const char* departure;
    };
    for (const row& r :
         {row{0, "CALVENA", "", "16:20:00"}, row{1, "CALVENA OVEST", "", ""},
          row{4, "CORBEZZI", "16:36:00", "16:37:00"}, row{6, "S.MOMME'", "16:42:30", "16:43:00"},
          row{11, "ROCCALBA TERME", "17:08:00", ""}}) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(st[r.n]["name"], r.name);
        EXPECT_EQ(st[r.n]["arrival"], r.arrival);
        EXPECT_EQ(st[r.n]["departure"], r.departure);
    }
    EXPECT_EQ(st[0]["stop_cell"], 5);
    EXPECT_TRUE(st[1]["stop_cell"].is_null());  // kind 27: no stop cell

    // The first signal, its slowdowns and the tunnel boards.
    EXPECT_EQ(m["signals"][0]["position"], 3650);
    EXPECT_EQ(m["signals"][0]["cell"], 74);
    EXPECT_EQ(m["slowdowns"][0]["from"], 18650);
    EXPECT_EQ(m["slowdowns"][0]["speed"], 30);
    EXPECT_FALSE(m["tunnels"].empty());
    EXPECT_FALSE(m["boards"].empty());
}

// The stations the page lists come from the compile's own record of which
// lines were stations, so an all-zero station is listed, and the boards'
// records are never taken for stations.
// The hover's words at a metre: km to the metre, the compiler's height at a
// cell's end, and any metre a request sends kept on the drawn route.
TEST(ViewModel, WordsAtAMetre) {
    const auto v = compile(line_source(), run_source());
    const route::gradient_profile profile = route::profile_of(v->state().celle, 40000);
    const auto& [end_metre, end_height] = profile.heights[201];
    struct row {
        double asked;
        int64_t metre;
        const char* km;
    };
    for (const row& r :
         {row{static_cast<double>(end_metre), end_metre, "10.050"}, row{10049.5, 10050, "10.050"},
          row{-3, 0, "0.000"}, row{1e300, 40000, "40.000"}, row{-1e300, 0, "0.000"}}) {
        const json a = metre_json(*v, r.asked);
        EXPECT_EQ(a["metre"], r.metre) << r.asked;
        EXPECT_EQ(a["km"], r.km) << r.asked;
        EXPECT_EQ(a["words"].get<std::string>().rfind(std::string(r.km) + " km · ", 0), 0u) << a.dump();
    }
    EXPECT_EQ(metre_json(*v, static_cast<double>(end_metre))["height"], end_height);
    EXPECT_EQ(model_json(*v)["stations"][4]["km"], "17.550");
}

TEST(ViewModel, StationsAndLengthWhereTheRecordsAreHardToRead) {
    const std::vector<std::string>& all = test_support::program_stations();
    const struct {
        const char* what;
        std::string line, run;
        std::vector<std::string> stations;
        int64_t length;
    } cases[] = {
        {"the boards fill the records",
         test_support::line_with_boards_filling_the_records(),
         run_source(),
         {all.begin(), all.begin() + 11},
         40000},
        {"an all-zero station",
         line_source(),
         test_support::run_with_an_all_zero_station(),
         {"CALVENA", ""},
         40000},
        {"a length that is no multiple of 50", test_support::line_of_40020_metres(), run_source(), all,
         40020},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const json m = model_json(*compile(c.line, c.run));
        std::vector<std::string> names;
        for (const json& st : m["stations"])
            names.push_back(st["name"]);
        EXPECT_EQ(names, c.stations);
        EXPECT_EQ(m["length"], c.length);
        EXPECT_EQ(m["plan"].back()[0], c.length);
    }
}

TEST(ViewModel, CellWithItsSourceLine) {
    const auto v = compile(line_source(), run_source());
    const json c = cell_json(*v, 74);
    EXPECT_EQ(c["kind"], "signal");
    EXPECT_EQ(c["fields"].size(), 11u);
    EXPECT_EQ(c["fields"]["tipo"], 1);
    EXPECT_EQ(c["from"], 3700);
    EXPECT_EQ(c["item"]["source"], "run");
    EXPECT_EQ(c["item"]["file"], "w/Calvena_Roccalba_4127-.txt");
    EXPECT_EQ(c["item"]["line"], 49);
    EXPECT_EQ(c["item"]["text"].get<std::string>().rfind("segnale,    3650,", 0), 0u);
    EXPECT_TRUE(cell_json(*v, 0)["item"].is_null());
    for (int64_t bad : {int64_t{-1}, int64_t{941}, int64_t{1} << 40})
        EXPECT_TRUE(cell_json(*v, bad).is_null()) << bad;

    // And back: the line's item lies in that cell.
    const json where = locate_json(*v, "run", 49);
    EXPECT_EQ(where["cells"], json::array({74}));
    EXPECT_EQ(where["positions"], json::array({3650}));
    // A station line leads to its position first, then to its cells.
    EXPECT_EQ(locate_json(*v, "run", 33)["positions"].front(), 0);
    EXPECT_TRUE(locate_json(*v, "nowhere", 49)["cells"].empty());
    // A slowdown line leads to its start (18650 m: cell 374), not to the
    // approach and advance cells before it.
    const json slowdown = locate_json(*v, "run", 46);
    ASSERT_GT(slowdown["cells"].size(), 1u) << slowdown;
    EXPECT_EQ(slowdown["cells"][0], 374) << slowdown;
    EXPECT_EQ(slowdown["positions"][0], 18650) << slowdown;
    // Cell 1 holds the identity stamps, not "nothing".
    EXPECT_EQ(cell_json(*v, 1)["kind"], "identity stamps");
    EXPECT_EQ(cell_json(*v, 1)["stamps"], true);
    EXPECT_EQ(cell_json(*v, 2)["stamps"], false);
}

TEST(ViewModel, SourceLinesAndPlanStretchesStayInBounds) {
    const auto v = compile(line_source(), run_source());
    const json s = source_json(*v, "run", 49, 2);
    EXPECT_EQ(s["first"], 47);
    EXPECT_EQ(s["lines"].size(), 5u);
    EXPECT_EQ(s["lines"][2].get<std::string>().rfind("segnale,    3650,", 0), 0u);
    const json edge = source_json(*v, "run", 100000, 3);  // past the end: the last line
    EXPECT_EQ(edge["line"], edge["total"]);
    EXPECT_TRUE(source_json(*v, "other", 1, 1).is_null());

    struct stretch {
        int64_t from, to, points;
        std::size_t at_most;
    };
    for (const stretch& t : {stretch{0, 1000, 10, 11}, stretch{-500, 100, 1000, 101},
                             stretch{39000, 99999999, 100, 101}, stretch{500, 100, 5, 1}}) {
        const json p = plan_json(*v, t.from, t.to, t.points);
        SCOPED_TRACE(t.from);
        ASSERT_FALSE(p.empty());
        EXPECT_LE(p.size(), t.at_most);
        EXPECT_GE(p.front()[0].get<int64_t>(), 0);
        EXPECT_LE(p.back()[0].get<int64_t>(), 46998);
    }
}

TEST(ViewModel, ReaderErrorStopsAndIsListedWithItsLine) {
    // A second signal on the cell of the first one (line 49): error 16 on line 50.
    const auto v =
        compile(line_source(), run_with_line("segnale,    3650,   2, 4, 1,  0, 0,    0,  0,0,0, 0", 49));
    const json m = model_json(*v);
    EXPECT_EQ(m["status"]["kind"], "stopped");
    EXPECT_NE(m["status"]["text"].get<std::string>().find("w/Calvena_Roccalba_4127-.txt:50: error 16"),
              std::string::npos)
        << m["status"]["text"];
    ASSERT_EQ(m["errors"].size(), 1u);
    EXPECT_EQ(m["errors"][0]["line"], 50);
    EXPECT_EQ(m["errors"][0]["severity"], "reader");
}

// A reader error in the line description (a second board on the cell of the
// one on line 174): the run description is not read, and the route is drawn
// only as far as the line was read, without the unwritten cells' -100 per mille.
TEST(ViewModel, LineReaderErrorDrawsTheRouteAsFarAsRead) {
    std::string line = line_source();
    const std::string board = "cartello_indicatore,  5750,   (VAIONI)(535 m.)\r\n";
    ASSERT_NE(line.find(board), std::string::npos);
    line.insert(line.find(board), board);
    const json m = model_json(*compile(line, run_source()));
    ASSERT_FALSE(m["line_stop"].is_null());
    EXPECT_EQ(m["line_stop"]["line"], 175);
    EXPECT_EQ(m["line_stop"]["number"], 6);
    EXPECT_TRUE(m["stations"].empty());
    EXPECT_EQ(m["route_length"], 40000);
    EXPECT_EQ(m["length"], m["line_stop"]["read_to"]);
    EXPECT_LE(m["length"].get<int64_t>(), 40000);
    for (const json& g : m["gradients"])
        EXPECT_GT(g[2].get<int>(), -100) << g;
    double lowest = 0;
    for (const json& e : m["profile"])
        lowest = std::min(lowest, e[1].get<double>());
    EXPECT_GT(lowest, -10);  // the route climbs from its start

    // Reading stopped in the gradients (a position past the route's end on
    // line 102): the last gradient read still runs on to the route's end.
    std::string cut = line_source();
    const std::string gradient = "pendenza,  10100,   27";
    ASSERT_NE(cut.find(gradient), std::string::npos);
    cut.replace(cut.find(gradient), gradient.size(), "pendenza,  99000,   27");
    const json c = model_json(*compile(cut, run_source()));
    ASSERT_FALSE(c["line_stop"].is_null());
    EXPECT_EQ(c["line_stop"]["line"], 102);
    EXPECT_EQ(c["length"], 40000);
    for (const json& g : c["gradients"])
        EXPECT_GT(g[2].get<int>(), -100) << g;
}

// A run description nothing was read of: the status says so, as an error would.
TEST(ViewModel, ASourceNotReadStopsTheStatus) {
    std::string run = run_source();
    run.replace(run.find("[generale]"), 10, "[general]");
    const json m = model_json(*compile(line_source(), run));
    EXPECT_EQ(m["status"]["kind"], "stopped");
    EXPECT_NE(m["status"]["text"].get<std::string>().find("w/Calvena_Roccalba_4127-.txt:1: not read: the run "
                                                          "description has no field holding \"[generale]\""),
              std::string::npos)
        << m["status"]["text"];
}

TEST(ViewModel, NoSourcesGiveAnEmptyRouteNotACrash) {
    const auto v = compile("", "");
    const json m = model_json(*v);
    EXPECT_TRUE(m["plan"].empty());
    EXPECT_TRUE(m["stations"].empty());
    EXPECT_TRUE(cell_json(*v, 0).is_null() || cell_json(*v, 0).is_object());
    EXPECT_TRUE(plan_json(*v, 0, 100, 10).empty());
    EXPECT_EQ(metre_json(*v, 100)["words"], "0.000 km · 0.0 m · ");
    // Bytes that are not UTF-8 in a file name never break the JSON text.
    const auto odd =
        compile_view(line_source(), run_source(), "Calvena_Roccalba", "4127", {"w/\xFF.txt", "\xC8"});
    EXPECT_NO_THROW(tool::json_text(model_json(*odd)));
}

}  // namespace
}  // namespace scenario::view
