// An estimate of the running times from a simple train model: it starts and
// stops at the given rates, keeps to the permitted speed with its whole length,
// and stops at every stop. The model's figures are the tool's assumptions, not
// the scenario's; the estimate is shown beside the timetable, never warned.
#pragma once

#include "compiler/running_times.h"
#include "compiler/speed_profile.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

namespace scenario::tool {

struct train_model {
    double acceleration = 0.5;  // m/s²
    double braking = 0.5;       // m/s²
    double length = 100;        // m
};

// Seconds from `from` to `to` metres: from rest or at the permitted speed,
// to a stop or on at the permitted speed. None when the speed is 0 somewhere
// between, or the model's rates are not above 0.
std::optional<double> estimate_run(const std::vector<route::speed_stretch>& stretches, int64_t from,
                                   int64_t to, bool from_rest, bool to_stop, const train_model& model);

struct leg_times {
    route::leg leg;
    std::optional<double> estimate;  // run plus the dwell at its end
    // (scheduled - estimate) / estimate, in per cent.
    std::optional<double> margin_percent;
};
std::vector<leg_times> running_times(const std::vector<route::station>& stations,
                                     const std::vector<route::speed_stretch>& stretches,
                                     const train_model& model);

// The legs as JSON objects: the two stations (names as UTF-8), their kinds,
// positions, and scheduled, bound, estimate (seconds, one decimal) and margin.
nlohmann::ordered_json running_times_json(const std::vector<route::station>& stations,
                                          const std::vector<leg_times>& legs);

}  // namespace scenario::tool
