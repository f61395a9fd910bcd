#include "tools/render/speed_band.h"

#include "compiler/running_times.h"
#include "compiler/speed_profile.h"
#include "tools/render/plan_geometry.h"

#include <algorithm>
#include <string>

namespace scenario::tool {

using svg::number;

namespace {

constexpr double heading = 44;  // the title and the legend above the frame
constexpr double frame_height = speed_band_height - heading - 14;

std::string board_text(const route::speed_board& b) {
    return std::to_string(b.values[0]) + "/" + std::to_string(b.values[1]) + "/" +
           std::to_string(b.values[2]);
}

}  // namespace

int speed_scale_top(const std::vector<route::speed_stretch>& stretches,
                    const std::vector<route::speed_board>& boards) {
    int highest = 0;
    for (const route::speed_stretch& s : stretches)
        highest = std::max(highest, s.line_kmh);
    for (const route::speed_board& b : boards)
        highest = std::max({highest, b.values[0], b.values[1], b.values[2]});
    return std::max(40, (highest + 10 + 19) / 20 * 20);
}

void draw_speed_band(svg::writer& out, double top, int64_t length, const std::vector<cella>& celle,
                     const std::vector<route::station>& stations, const std::function<double(double)>& x_of) {
    const std::vector<route::speed_stretch> stretches = route::permitted_speed(celle, length);
    const std::vector<route::slowdown> slowdowns = route::slowdowns(celle);
    const std::vector<route::speed_board> boards = route::speed_boards(celle);
    const double high = speed_scale_top(stretches, boards);
    const double frame_top = top + heading;
    const double bottom = frame_top + frame_height;
    const auto y_of = [&](double kmh) { return bottom - kmh / high * (frame_height - 18) - 1; };

    out.open_group("speed");
    out.text(
        {{"x", number(page::margin)}, {"y", number(top + 16)}, {"font-size", "14"}, {"font-weight", "bold"}},
        "Permitted speed");
    out.text(
        {{"x", number(page::margin + 140)}, {"y", number(top + 16)}, {"font-size", "12"}, {"fill", "#444"}},
        "the line's limits (km/h), lowered over each slowdown to its speed; timed stations dashed");
    out.text({{"x", number(page::margin)}, {"y", number(top + 34)}, {"font-size", "11"}, {"fill", "#5b3f85"}},
             "\u25C6 maximum-speed boards, their speeds as written: they do not change the permitted speed, "
             "because the sources do not say which of a board's speeds applies to this train");
    out.element("rect", {{"x", number(page::margin)},
                         {"y", number(frame_top)},
                         {"width", number(page::usable)},
                         {"height", number(frame_height)},
                         {"fill", "#f7f7f2"},
                         {"stroke", "#999"},
                         {"stroke-width", "1"}});
    for (double v : {0.0, high / 2, high})
        out.text({{"x", number(page::margin - 4)},
                  {"y", number(y_of(v) + 4)},
                  {"font-size", "10"},
                  {"text-anchor", "end"},
                  {"fill", "#555"}},
                 std::to_string(static_cast<int>(v)) + (v == high ? " km/h" : ""));

    // Slowdowns: their stretch, the advance cell (a triangle) and the
    // approach cells (ticks) under the frame's foot.
    for (const route::slowdown& r : slowdowns) {
        const double x0 = x_of(static_cast<double>(r.from)), x1 = x_of(static_cast<double>(r.to));
        out.element("rect", {{"x", number(x0)},
                             {"y", number(frame_top + 1)},
                             {"width", number(std::max(1.5, x1 - x0))},
                             {"height", number(frame_height - 2)},
                             {"fill", "#f1c7c1"}});
        if (r.advance_cell) {
            const double xa = x_of(static_cast<double>(route::item_position(*r.advance_cell)));
            out.element(
                "polygon",
                {{"points", svg::points_text({{xa, bottom}, {xa - 4, bottom + 8}, {xa + 4, bottom + 8}})},
                 {"fill", "#c0392b"}});
        }
        for (std::size_t c : r.approach_cells) {
            const double xc = x_of(static_cast<double>(route::item_position(c)));
            out.element("line", {{"x1", number(xc)},
                                 {"y1", number(bottom)},
                                 {"x2", number(xc)},
                                 {"y2", number(bottom + 6)},
                                 {"stroke", "#c0392b"},
                                 {"stroke-width", "1"}});
        }
    }
    // The line's limit, dashed where a slowdown lowers it; the permitted speed.
    std::vector<svg::point> line;
    for (const route::speed_stretch& s : stretches) {
        if (s.slowdown)
            out.element("line", {{"x1", number(x_of(static_cast<double>(s.from)))},
                                 {"y1", number(y_of(s.line_kmh))},
                                 {"x2", number(x_of(static_cast<double>(s.to)))},
                                 {"y2", number(y_of(s.line_kmh))},
                                 {"stroke", "#8aa6d8"},
                                 {"stroke-width", "1"},
                                 {"stroke-dasharray", "3 3"}});
        line.push_back({x_of(static_cast<double>(s.from)), y_of(s.speed_kmh)});
        line.push_back({x_of(static_cast<double>(s.to)), y_of(s.speed_kmh)});
    }
    if (!line.empty())
        out.element("polyline", {{"points", svg::points_text(line)},
                                 {"fill", "none"},
                                 {"stroke", "#2d6cdf"},
                                 {"stroke-width", "1.5"}});
    for (const route::slowdown& r : slowdowns) {
        const double x0 = x_of(static_cast<double>(r.from)), x1 = x_of(static_cast<double>(r.to));
        out.text_with_halo({{"x", number((x0 + x1) / 2)},
                            {"y", number(y_of(std::max<int>(0, r.speed)) + 13)},
                            {"font-size", "10"},
                            {"text-anchor", "middle"}},
                           {}, "#a02a1d", std::to_string(r.speed));
    }
    // Timed stations.
    for (const route::timing_point& t : route::timing_points(stations)) {
        if (t.position < 0 || t.position > length)
            continue;
        const double x = x_of(static_cast<double>(t.position));
        out.element("line", {{"x1", number(x)},
                             {"y1", number(frame_top)},
                             {"x2", number(x)},
                             {"y2", number(bottom)},
                             {"stroke", "#1f4e9c"},
                             {"stroke-width", "1"},
                             {"stroke-dasharray", "4 3"}});
    }
    // Boards along the top of the frame; their values only where they have
    // room before the next board and after the last value drawn.
    const double y = frame_top + 8;
    for (const route::speed_board& b : boards) {
        const double x = x_of(static_cast<double>(b.position));
        out.element("polygon",
                    {{"points", svg::points_text({{x, y - 5}, {x + 5, y}, {x, y + 5}, {x - 5, y}})},
                     {"fill", "#7d5ba6"}});
    }
    double free_from = -1e300;
    for (std::size_t k = 0; k < boards.size(); ++k) {
        const double x = x_of(static_cast<double>(boards[k].position));
        const std::string text = board_text(boards[k]);
        const double end = x + 7 + 6.0 * static_cast<double>(text.size());
        const double next = k + 1 < boards.size() ? x_of(static_cast<double>(boards[k + 1].position)) - 6
                                                  : page::margin + page::usable;
        if (x + 7 < free_from || end > next)
            continue;
        out.text_with_halo({{"x", number(x + 7)}, {"y", number(y + 4)}, {"font-size", "10"}}, {}, "#5b3f85",
                           text);
        free_from = end + 8;
    }
    out.close_group();
}

}  // namespace scenario::tool
