// `scenario dump FILE...`: compiled files decoded into JSON.
#pragma once

#include "compiler/state.h"
#include "tools/commands/command.h"
#include "tools/core/compiled_reader.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::tool {

// A closed range of plan points, FROM:TO (either may be left out).
struct point_range {
    int64_t from = 0;
    std::optional<int64_t> to;
};
std::optional<point_range> parse_point_range(std::string_view t);

struct dump_arguments {
    std::vector<std::string> files;  // UTF-8
    std::optional<std::string> points;
    std::optional<std::string> kind;
    std::optional<std::string> cells;  // FROM:TO, cell indexes of a cell file
    bool non_empty = false;            // only the cells where something stands
    // The text sources, compiled in memory to show where cells and records came from.
    std::optional<std::string> line;
    std::optional<std::string> run;
    std::string name;
    std::string train;
    bool no_plan = false;
};

// A cell the author placed something in, or that the compile marked: any of
// `tipo`, `dato1` to `dato6` or `galleria` is not 0. The profiles (`velocita`,
// `pendenza`, `aderenza`) cover every cell and do not count.
bool cell_is_non_empty(const cella& c);
extern const char* const dump_description;
int run_dump(const dump_arguments& a, std::ostream& out, std::ostream& err);

extern const command dump_command;

}  // namespace scenario::tool
