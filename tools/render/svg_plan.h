// The drawing of a compiled scenario as SVG: the track plan seen from above
// with stations, tunnels, signals and slowdowns marked along it, and the
// gradient profile under it.
#pragma once

#include "compiler/state.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace scenario::tool {

struct plan_data {
    std::string title;
    std::optional<tracciato_linea> tracciato;  // none: no line file, the line is drawn straight
    bool plan_left_out = false;                // there was a line file, but of another route
    std::vector<cella> celle;
    std::array<voce, numero_voci> voci{};
};

// The stations of a run file, by the rule of route::station_slots for a
// compiled file read alone.
struct drawn_station {
    int index = 0;
    int32_t position = 0;
    std::string name;  // as stored (Windows-1252)
};
std::vector<drawn_station> stations_of(const plan_data& d);

// The whole SVG document.
std::string draw_plan(const plan_data& d);

}  // namespace scenario::tool
