// How a compile runs, beyond `j`.
#pragma once

#include <cstdint>
#include <optional>

namespace scenario {

struct compile_options {
    // With a log: note every field the readers read in `compile_log::fields`.
    bool record_fields = true;
    // The most track plan points the compile may build. A line description
    // whose route needs more stops the reading before the route is made: no
    // cells, no plan, the run description is not read, and the compile reports
    // it (`reading_end::plan_limit_reached`, `compile_log::plan_limit_reached`)
    // instead of an error number. Only the fuzz targets set it, so that inputs
    // of long routes cost them little; a compile for the simulator never does.
    std::optional<int32_t> plan_point_limit;
    // Keep every point of the track plan in `tracciato.valori`, for callers
    // that read the points. Without it the plan keeps only its runs of steps,
    // enough to write the same line file (the program's run, which reads no
    // point, needs no 1.5 MB of plan in memory).
    bool keep_plan_points = true;
};

// How reading the text sources ended.
enum class reading_end {
    read,                // read as far as the sources and their errors allow
    plan_limit_reached,  // stopped at the route length: its plan exceeds the limit
};

}  // namespace scenario
