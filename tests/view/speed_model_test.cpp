// The page's speed part from one compile of the built-in scenario: the band's
// stretches with the lines behind them, the slowdowns' warning cells, the
// board, and the running times with the train the viewer was started with.
#include "tools/view/speed_model.h"

#include "common/line_list.h"
#include "sources/writers.h"

#include <gtest/gtest.h>
#include <string>

namespace scenario::view {
namespace {

std::shared_ptr<const compiled_view> compile(const tool::train_model& model = {}) {
    return compile_view(testo_lista(sorgenti::righe_linea()), testo_lista(sorgenti::righe_treno()),
                        "Calvena_Roccalba", "4127", {"l.txt", "r.txt"}, model);
}

// The 1-based number of the first line of `text` holding `part`.
int line_holding(const std::string& text, const std::string& part) {
    const std::size_t at = text.find(part);
    int n = 1;
    for (std::size_t i = 0; i < at; ++i)
        n += text[i] == '\n';
    return n;
}

TEST(SpeedModel, BandSlowdownsAndBoardOfTheBuiltInScenario) {
    const auto v = compile();
    const json s = model_json(*v)["speed"];
    // [from, to, permitted, line's limit, slowdown, first cell, run line]
    const json want = json::parse(R"([[0, 18650, 80, 80, null, 0, 31],
                                      [18650, 18950, 30, 80, 0, 373, 46],
                                      [18950, 34000, 80, 80, null, 379, 31],
                                      [34000, 35000, 30, 80, 1, 680, 47],
                                      [35000, 40000, 80, 80, null, 700, 31]])");
    EXPECT_EQ(s["stretches"], want);
    ASSERT_EQ(s["slowdowns"].size(), 2u);
    EXPECT_EQ(s["slowdowns"][0]["advance_cell"], 350);
    EXPECT_EQ(s["slowdowns"][0]["approach_cells"], json::parse("[349, 348, 347, 346]"));
    EXPECT_EQ(s["slowdowns"][1]["advance_cell"], 657);
    EXPECT_TRUE(s["slowdowns"][1]["approach_cells"].empty());
    ASSERT_EQ(s["boards"].size(), 1u);
    EXPECT_EQ(s["boards"][0]["values"], json::parse("[75, 80, 80, 0, 0, 0, 0, 0]"));
    EXPECT_EQ(s["boards"][0]["line"], line_holding(testo_lista(sorgenti::righe_linea()), "indicatori_vmax"));
}

TEST(SpeedModel, RunningTimesUseTheViewersTrain) {
    const json s = model_json(*compile({1, 1, 0}))["speed"];
    EXPECT_EQ(s["train_model"], json::parse(R"({"acceleration": 1.0, "braking": 1.0, "length": 0.0})"));
    ASSERT_EQ(s["running_times"].size(), 6u);
    // 17550 m at 80 km/h and the 60 s stop, plus 80/3.6 s to start and to stop.
    EXPECT_EQ(s["running_times"][0]["estimate"], 872.0);
    EXPECT_EQ(s["running_times"][0]["bound"], 849.8);
}

}  // namespace
}  // namespace scenario::view
