// The running-time estimate of the simple train model against closed
// formulas: one limit between two stops, a slowdown in the middle (held until
// the train's rear has left it), legs that start or end at a passing time,
// and a leg too short to reach the limit.
#include "tools/words/running_estimate.h"

#include <gtest/gtest.h>
#include <vector>

namespace scenario::tool {
namespace {

route::speed_stretch at(int64_t from, int64_t to, int kmh) {
    return {from, to, kmh, kmh, {}, static_cast<std::size_t>(from / 50), {}};
}

TEST(RunningEstimate, ClosedFormulas) {
    // 72 km/h is 20 m/s, 36 km/h 10 m/s.
    const std::vector<route::speed_stretch> one_limit = {at(0, 20000, 72)};
    const std::vector<route::speed_stretch> slowdown = {at(0, 4000, 72), at(4000, 4500, 36),
                                                        at(4500, 20000, 72)};
    struct row {
        const char* name;
        const std::vector<route::speed_stretch>* stretches;
        int64_t distance;
        bool from_rest, to_stop;
        train_model model;
        double want;
    };
    const std::vector<row> rows = {
        // D / V + V / 2a + V / 2b
        {"one limit, stop to stop", &one_limit, 4000, true, true, {0.4, 0.8, 0}, 200 + 25 + 12.5},
        // 40 s up to 20 m/s (400 m), 20 s down to 10 (300 m), 600 m at 10 m/s
        // for the slowdown and the train's 100 m, 20 s up again (300 m), 40 s
        // down to the stop (400 m), and 8000 m at 20 m/s.
        {"a slowdown in the middle",
         &slowdown,
         10000,
         true,
         true,
         {0.5, 0.5, 100},
         40 + 20 + 60 + 20 + 40 + 400},
        {"the same train without length",
         &slowdown,
         10000,
         true,
         true,
         {0.5, 0.5, 0},
         40 + 20 + 50 + 20 + 40 + 405},
        {"from a passing time to a stop", &one_limit, 4000, false, true, {0.5, 0.5, 100}, 200 + 20},
        {"from a stop to a passing time", &one_limit, 4000, true, false, {0.5, 0.5, 100}, 200 + 20},
        {"passing to passing", &one_limit, 4000, false, false, {0.5, 0.5, 100}, 200},
        // Never at the limit: up to 10 m/s over 100 m and down again.
        {"too short to reach the limit", &one_limit, 200, true, true, {0.5, 0.5, 100}, 40},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::optional<double> t =
            estimate_run(*r.stretches, 0, r.distance, r.from_rest, r.to_stop, r.model);
        ASSERT_TRUE(t);
        EXPECT_NEAR(*t, r.want, 1e-6);
    }
}

TEST(RunningEstimate, NoEstimateWithoutSpeedOrRates) {
    const std::vector<route::speed_stretch> stopped = {at(0, 1000, 72), at(1000, 2000, 0)};
    EXPECT_EQ(estimate_run(stopped, 0, 2000, true, true, {}), std::nullopt);
    EXPECT_EQ(estimate_run(stopped, 0, 3000, true, true, {}), std::nullopt);  // beyond the stretches
    EXPECT_TRUE(estimate_run(stopped, 0, 1000, true, true, {}));
    EXPECT_EQ(estimate_run(stopped, 0, 1000, true, true, {0, 0.5, 100}), std::nullopt);
    EXPECT_EQ(estimate_run(stopped, 0, 1000, true, true, {0.5, -1, 100}), std::nullopt);
}

route::station timed(int32_t position, int32_t time, uint8_t dwell, bool last = false) {
    route::station s;
    s.name = "S" + std::to_string(position);
    s.position = position;
    s.dwell = dwell;
    (last ? s.arrival : s.departure) = time;
    return s;
}

TEST(RunningEstimate, LegsCarryScheduledBoundEstimateAndMargin) {
    const std::vector<route::speed_stretch> s = {at(0, 20000, 72)};
    const std::vector<route::station> list = {timed(0, 30000, 1), timed(4000, 30300, 30),
                                              timed(8000, 30500, 0, true)};
    const std::vector<leg_times> legs = running_times(list, s, {0.4, 0.8, 100});
    ASSERT_EQ(legs.size(), 2u);
    // To the stop: 237.5 s of running and its 30 s stop, against 300 scheduled.
    EXPECT_NEAR(*legs[0].estimate, 267.5, 1e-6);
    EXPECT_NEAR(*legs[0].margin_percent, (300 - 267.5) / 267.5 * 100, 1e-6);
    EXPECT_NEAR(*legs[0].leg.bound, 230.0, 1e-9);
    // To the terminal: 200 s scheduled, as long as the bound (not below it)
    // and shorter than the estimate: a margin below 0, shown but not warned.
    EXPECT_NEAR(*legs[1].estimate, 237.5, 1e-6);
    EXPECT_LT(*legs[1].margin_percent, 0);

    const auto j = running_times_json(list, legs);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["from"]["kind"], "start");
    EXPECT_EQ(j[0]["to"]["kind"], "stop");
    EXPECT_EQ(j[0]["to"]["station"], "S4000");
    EXPECT_EQ(j[0]["scheduled"], 300);
    EXPECT_EQ(j[0]["bound"], 230.0);
    EXPECT_EQ(j[0]["estimate"], 267.5);
    EXPECT_EQ(j[0]["below_bound"], false);
    EXPECT_EQ(j[1]["to"]["kind"], "terminal");
    EXPECT_EQ(j[1]["bound"], 200.0);
    EXPECT_EQ(j[1]["below_bound"], false);
}

}  // namespace
}  // namespace scenario::tool
