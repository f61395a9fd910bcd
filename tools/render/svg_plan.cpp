#include "tools/render/svg_plan.h"

#include "compiler/route_facts.h"
#include "tools/render/label_placement.h"
#include "tools/render/plan_geometry.h"
#include "tools/render/speed_band.h"
#include "tools/render/svg_writer.h"
#include "tools/words/km_words.h"
#include "tools/words/text_encoding.h"

#include <algorithm>
#include <string_view>

namespace scenario::tool {

namespace {

using svg::number;

// The drawing: what the route facts say, placed by the plan's geometry and
// written as SVG elements.
class drawing {
public:
    explicit drawing(const plan_data& d)
        : d_(d),
          projection_(d.tracciato ? &*d.tracciato : nullptr, route::route_length(d.celle, d.voci)),
          length_(projection_.length()),
          stations_(route::stations(d.celle, d.voci)),
          signals_(route::signals(d.celle)),
          slowdowns_(route::slowdowns(d.celle)),
          tunnels_(route::tunnels(d.celle, length_)),
          boards_(route::tunnel_boards(d.celle, d.voci)),
          profile_top_(page::plan_top + projection_.height() + 20 + 40 + page::profile_name_rows * 15 + 34),
          out_(page::width, profile_top_ + page::profile_height + 70 + speed_band_height,
               "DejaVu Sans, Arial, sans-serif") {}

    std::string run() {
        header();
        legend();
        plan();
        profile();
        speed_band();
        return out_.finish();
    }

private:
    // ---- the heading -------------------------------------------------------

    // "1 station", "2 stations".
    static std::string counted(std::size_t n, const std::string& thing) {
        return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
    }

    void header() {
        std::string below = "route " + km_words(length_, km_style::axis) + ", " +
                            counted(stations_.size(), "station") + ", " + counted(signals_.size(), "signal") +
                            ", " + counted(slowdowns_.size(), "slowdown") + ", " +
                            counted(tunnels_.size(), "tunnel");
        if (!projection_.with_plan())
            below += d_.plan_left_out
                         ? " (the line file belongs to another route: the line is drawn straight)"
                         : " (no line file: the line is drawn straight)";
        out_.text({{"x", number(page::margin)}, {"y", "34"}, {"font-size", "20"}, {"font-weight", "bold"}},
                  d_.title);
        out_.text({{"x", number(page::margin)}, {"y", "56"}, {"font-size", "13"}, {"fill", "#444"}}, below);
    }

    void legend() {
        double x = page::margin;
        const double y = 78;
        const auto stroke = [&](const char* colour, const char* width) {
            out_.element("line", {{"x1", number(x)},
                                  {"y1", number(y)},
                                  {"x2", number(x + 24)},
                                  {"y2", number(y)},
                                  {"stroke", colour},
                                  {"stroke-width", width}});
        };
        const auto dot = [&](const char* radius, const char* fill, const char* colour, const char* width) {
            out_.element("circle", {{"cx", number(x + 12)},
                                    {"cy", number(y)},
                                    {"r", radius},
                                    {"fill", fill},
                                    {"stroke", colour},
                                    {"stroke-width", width}});
        };
        const auto word = [&](std::string_view w) {
            out_.text({{"x", number(x + 30)}, {"y", number(y + 4)}, {"font-size", "12"}}, w);
            x += 38 + 7.2 * static_cast<double>(w.size());
        };
        stroke("#222", "3");
        word("line");
        stroke("#7a6a58", "9");
        word("tunnel");
        stroke("#f08c00", "6");
        word("slowdown (km/h)");
        dot("3.5", "#d62728", "#600", "0.8");
        word("signal");
        dot("5", "#ffffff", "#1f4e9c", "2.5");
        word("station");
    }

    // ---- the plan seen from above ------------------------------------------

    void plan() {
        out_.open_group("plan");
        plan_lines();
        plan_marks();
        plan_labels();
        out_.close_group();
    }

    void plan_lines() {
        for (const route::tunnel& g : tunnels_)
            out_.element("polyline", {{"points", svg::points_text(projection_.line_between(g.from, g.to))},
                                      {"fill", "none"},
                                      {"stroke", "#7a6a58"},
                                      {"stroke-width", "9"},
                                      {"stroke-linecap", "butt"}});
        out_.element("polyline", {{"points", svg::points_text(projection_.line_between(0, length_))},
                                  {"fill", "none"},
                                  {"stroke", "#222"},
                                  {"stroke-width", "2.5"},
                                  {"stroke-linejoin", "round"}});
        for (const route::slowdown& r : slowdowns_)
            out_.element("polyline", {{"points", svg::points_text(projection_.line_between(r.from, r.to))},
                                      {"fill", "none"},
                                      {"stroke", "#f08c00"},
                                      {"stroke-width", "6"},
                                      {"stroke-opacity", "0.85"}});
    }

    void plan_marks() {
        for (const route::signal& s : signals_) {
            const point p = projection_.on_screen(s.position);
            out_.element("circle", {{"cx", number(p.x)},
                                    {"cy", number(p.y)},
                                    {"r", "3.5"},
                                    {"fill", "#d62728"},
                                    {"stroke", "#600"},
                                    {"stroke-width", "0.8"}});
        }
        for (const int64_t end : {int64_t{0}, length_}) {
            const point p = projection_.on_screen(end);
            out_.element("rect", {{"x", number(p.x - 4)},
                                  {"y", number(p.y - 4)},
                                  {"width", "8"},
                                  {"height", "8"},
                                  {"fill", "#222"}});
        }
        for (const route::station& s : stations_) {
            const point p = projection_.on_screen(s.position);
            out_.element("circle", {{"cx", number(p.x)},
                                    {"cy", number(p.y)},
                                    {"r", "5"},
                                    {"fill", "#ffffff"},
                                    {"stroke", "#1f4e9c"},
                                    {"stroke-width", "2.5"}});
        }
    }

public:
    // Station names first: they matter most and are always placed, inside
    // the plan's frame; then the slowdowns' speeds and the boards where
    // there is room.
    plan_labelling labelling() const {
        plan_labelling l;
        l.frame = {2, 88, page::width - 2, page::plan_top + projection_.height() + 56};
        std::vector<box> marks;
        std::vector<label_request> requests;
        const auto add = [&](point at, std::string text, double size, const char* colour, bool station) {
            requests.push_back({at, characters_in(text), size, station});
            l.labels.push_back({std::move(text), {}, size, colour, station});
        };
        for (const int64_t end : {int64_t{0}, length_}) {
            const point p = projection_.on_screen(end);
            marks.push_back({p.x - 4, p.y - 4, p.x + 4, p.y + 4});
        }
        for (const route::station& s : stations_) {
            const point p = projection_.on_screen(s.position);
            marks.push_back({p.x - 5, p.y - 5, p.x + 5, p.y + 5});
        }
        for (const route::station& s : stations_)
            add(projection_.on_screen(s.position), from_windows1252(s.name), 13, "#12336b", true);
        for (const route::slowdown& r : slowdowns_)
            add(projection_.on_screen((r.from + r.to) / 2), std::to_string(r.speed), 11, "#8a4b00", false);
        for (const route::board& b : boards_)
            add(projection_.on_screen(b.position), from_windows1252(b.text), 10, "#5a4a38", false);
        const std::vector<placed_label> placed = place_labels(l.frame, marks, requests);
        for (std::size_t i = 0; i < placed.size(); ++i) {
            l.labels[i].place = placed[i];
            l.labels[i].at = requests[i].at;
        }
        return l;
    }

private:
    void plan_labels() {
        for (const plan_label& l : labelling().labels) {
            if (!l.place.drawn)
                continue;
            if (l.place.leader) {
                const box& b = l.place.area;
                const double x = std::clamp(l.at.x, b.x0, b.x1), y = std::clamp(l.at.y, b.y0, b.y1);
                out_.element("line", {{"x1", number(l.at.x)},
                                      {"y1", number(l.at.y)},
                                      {"x2", number(x)},
                                      {"y2", number(y)},
                                      {"stroke", l.colour},
                                      {"stroke-width", "0.7"}});
            }
            out_.text_with_halo(
                {{"x", number(l.place.x)},
                 {"y", number(l.place.baseline)},
                 {"font-size", number(l.font_size)},
                 {"text-anchor", "start"}},
                {{"font-family", label_font_family}, {"font-weight", l.station ? "bold" : "normal"}},
                l.colour, l.text);
        }
    }

    // ---- the gradient profile ----------------------------------------------

    void profile() {
        const profile_shape shape = profile_of(d_.celle, length_);
        const profile_scale scale(profile_top_, length_, shape.low, shape.high);
        out_.open_group("profile");
        profile_frame(scale);
        profile_curve(shape, scale);
        elevation_scale(shape, scale);
        profile_station_names(scale);
        gradient_values(shape, scale);
        distance_scale(scale);
        out_.close_group();
    }

    // Under the profile, on its distance axis.
    void speed_band() {
        const profile_scale scale(profile_top_, length_, 0, 1);
        draw_speed_band(out_, profile_top_ + page::profile_height + 60, length_, d_.celle, stations_,
                        [&scale](double metres) { return scale.x_of(metres); });
    }

    void profile_frame(const profile_scale& scale) {
        const double y_title = scale.top() - page::profile_name_rows * 15 - 22;
        out_.text({{"x", number(page::margin)},
                   {"y", number(y_title)},
                   {"font-size", "14"},
                   {"font-weight", "bold"}},
                  "Gradient profile");
        out_.text({{"x", number(page::margin + 140)},
                   {"y", number(y_title)},
                   {"font-size", "12"},
                   {"fill", "#444"}},
                  "elevation relative to the start (m); gradients in per mille");
        out_.element("rect", {{"x", number(page::margin)},
                              {"y", number(scale.top())},
                              {"width", number(page::usable)},
                              {"height", number(page::profile_height)},
                              {"fill", "#f7f7f2"},
                              {"stroke", "#999"},
                              {"stroke-width", "1"}});
    }

    // The elevation curve, thinned like the plan, closed along the bottom.
    void profile_curve(const profile_shape& shape, const profile_scale& scale) {
        const auto& e = shape.profile.heights;
        std::vector<point> outline{{scale.x_of(0), scale.bottom()}};
        const std::size_t step = std::max<std::size_t>(1, e.size() / page::max_line_points);
        for (std::size_t i = 0; i < e.size(); i += step)
            outline.push_back({scale.x_of(static_cast<double>(e[i].first)), scale.y_of(e[i].second)});
        const double end_x = scale.x_of(static_cast<double>(e.back().first));
        outline.push_back({end_x, scale.y_of(e.back().second)});
        outline.push_back({end_x, scale.bottom()});
        out_.element("polygon", {{"points", svg::points_text(outline)},
                                 {"fill", "#c9d9c0"},
                                 {"stroke", "#4f7a3a"},
                                 {"stroke-width", "1.5"}});
    }

    void elevation_scale(const profile_shape& shape, const profile_scale& scale) {
        for (double q : {shape.low, (shape.low + shape.high) / 2, shape.high})
            out_.text({{"x", number(page::margin - 4)},
                       {"y", number(scale.y_of(q) + 4)},
                       {"font-size", "10"},
                       {"text-anchor", "end"},
                       {"fill", "#555"}},
                      number(q) + " m");
    }

    // A dashed line up from the profile to each station's name, the names in
    // rows above it so that near stations do not overwrite each other.
    void profile_station_names(const profile_scale& scale) {
        name_rows rows;
        for (const route::station& s : stations_) {
            if (s.position < 0 || s.position > length_)
                continue;
            const double x = scale.x_of(static_cast<double>(s.position));
            const std::string name = from_windows1252(s.name);
            const double w = 6.6 * static_cast<double>(characters_in(name));
            const double x0 = std::clamp(x - w / 2, 2.0, page::width - 2 - w);
            const int row = rows.row_for(x0, w);
            const double y_name = scale.top() - 8 - (page::profile_name_rows - 1 - row) * 15;
            out_.element("line", {{"x1", number(x)},
                                  {"y1", number(y_name + 3)},
                                  {"x2", number(x)},
                                  {"y2", number(scale.bottom())},
                                  {"stroke", "#1f4e9c"},
                                  {"stroke-width", "1"},
                                  {"stroke-dasharray", "4 3"}});
            out_.text_with_halo({{"x", number(x0)},
                                 {"y", number(y_name)},
                                 {"font-size", number(11)},
                                 {"text-anchor", "start"}},
                                {}, "#12336b", name);
        }
    }

    // A mark where the gradient changes, and the value under the curve where
    // its stretch is wide enough.
    void gradient_values(const profile_shape& shape, const profile_scale& scale) {
        const double bottom = scale.bottom();
        double last_mark = -1e300;
        for (const route::gradient_stretch& g : shape.profile.gradients) {
            const double x0 = scale.x_of(static_cast<double>(g.from));
            const double x1 = scale.x_of(static_cast<double>(g.to));
            // On a long route the changes of gradient come closer than a few
            // pixels: their marks would merge into a band.
            if (x0 - last_mark >= 3) {
                last_mark = x0;
                out_.element("line", {{"x1", number(x0)},
                                      {"y1", number(bottom)},
                                      {"x2", number(x0)},
                                      {"y2", number(bottom + 18)},
                                      {"stroke", "#999"},
                                      {"stroke-width", "0.8"}});
            }
            if (x1 - x0 < 30)
                continue;
            out_.text({{"x", number((x0 + x1) / 2)},
                       {"y", number(bottom + 14)},
                       {"font-size", "10"},
                       {"text-anchor", "middle"},
                       {"fill", "#4f7a3a"}},
                      (g.per_mille > 0 ? "+" : "") + std::to_string(g.per_mille));
        }
    }

    void distance_scale(const profile_scale& scale) {
        const double bottom = scale.bottom();
        const int64_t step = distance_step_km(length_) * 1000;
        for (int64_t m = 0; m <= length_; m += step) {
            const double x = scale.x_of(static_cast<double>(m));
            out_.element("line", {{"x1", number(x)},
                                  {"y1", number(bottom + 22)},
                                  {"x2", number(x)},
                                  {"y2", number(bottom + 28)},
                                  {"stroke", "#333"},
                                  {"stroke-width", "1"}});
            out_.text({{"x", number(x)},
                       {"y", number(bottom + 40)},
                       {"font-size", "10"},
                       {"text-anchor", "middle"},
                       {"fill", "#333"}},
                      km_words(m, km_style::axis));
        }
    }

    const plan_data& d_;
    const plan_projection projection_;
    const int64_t length_;  // metres of line drawn
    const std::vector<route::station> stations_;
    const std::vector<route::signal> signals_;
    const std::vector<route::slowdown> slowdowns_;
    const std::vector<route::tunnel> tunnels_;
    const std::vector<route::board> boards_;
    const double profile_top_;
    svg::writer out_;
};

}  // namespace

std::string draw_plan(const plan_data& d) {
    return drawing(d).run();
}

plan_labelling plan_labels(const plan_data& d) {
    return drawing(d).labelling();
}

}  // namespace scenario::tool
