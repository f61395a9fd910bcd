#include "tools/view/page_labels.h"

#include "compiler/route_facts.h"
#include "tools/render/label_placement.h"
#include "tools/render/plan_geometry.h"
#include "tools/words/text_encoding.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace scenario::view {

namespace {

using tool::box;
using tool::point;

// Where position `p` metres is drawn: the page interpolates the plan's points
// linearly; the plan holds one point per metre.
class page_projection {
public:
    page_projection(const tracciato_linea& t, const page_view& view)
        : t_(t),
          view_(view),
          last_(route::last_plan_point(t)),
          cos_(std::cos(view.angle)),
          sin_(std::sin(view.angle)) {}

    point at(double p) const {
        double x = p, y = 0;
        if (last_ >= 0) {
            const double q = std::clamp(p, 0.0, static_cast<double>(last_));
            const int32_t a = static_cast<int32_t>(std::floor(q));
            const int32_t b = std::min<int32_t>(a + 1, static_cast<int32_t>(last_));
            const double f = q - a;
            x = t_.at(a, 0).numero() * (1 - f) + t_.at(b, 0).numero() * f;
            y = t_.at(a, 1).numero() * (1 - f) + t_.at(b, 1).numero() * f;
            const double u = cos_ * x + sin_ * y, v = -sin_ * x + cos_ * y;
            x = u;
            y = v;
        }
        return {view_.width / 2 + (x - view_.u) * view_.scale,
                view_.height / 2 - (y - view_.v) * view_.scale};
    }

private:
    const tracciato_linea& t_;
    page_view view_;
    int64_t last_;
    double cos_, sin_;
};

}  // namespace

json labels_json(const compiled_view& v, const page_view& view) {
    const stato_scenario& s = v.state();
    const int64_t length = drawn_length(v);
    const page_projection projection(s.tracciato, view);
    const box frame{0, 0, view.width, view.height};
    const auto on_canvas = [&](point p) {
        return p.x >= 0 && p.y >= 0 && p.x <= view.width && p.y <= view.height;
    };

    std::vector<box> marks;
    std::vector<tool::label_request> requests;
    std::vector<std::pair<const char*, std::string>> texts;
    const auto add = [&](point at, const char* kind, std::string text, double size, bool required) {
        requests.push_back({at, tool::characters_in(text), size, required});
        texts.emplace_back(kind, std::move(text));
    };
    const std::vector<route::station> stations = route::stations(s.celle, s.voci, &v.log());
    for (const route::station& st : stations) {
        const point p = projection.at(static_cast<double>(st.position));
        marks.push_back({p.x - 5, p.y - 5, p.x + 5, p.y + 5});
    }
    for (const route::station& st : stations) {
        const point p = projection.at(static_cast<double>(st.position));
        if (on_canvas(p))
            add(p, "station", tool::from_windows1252(st.name), 12, true);
    }
    // Kilometre marks: a round step that keeps them 70 px or more apart.
    int64_t step = 1000;
    for (int64_t k : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000}) {
        step = k;
        if (static_cast<double>(k) * view.scale * 1000 >= 70)
            break;
    }
    for (int64_t k = 0; k * 1000 <= length; k += step) {
        const point p = projection.at(static_cast<double>(k * 1000));
        if (on_canvas(p))
            add(p, "km", std::to_string(k) + " km", 11, false);
    }
    for (const route::slowdown& r : route::slowdowns(s.celle))
        add(projection.at(static_cast<double>(r.from)), "slowdown", std::to_string(r.speed) + " km/h", 12,
            false);
    for (const route::board& b : route::tunnel_boards(s.celle, s.voci))
        add(projection.at(static_cast<double>(b.position)), "board", tool::from_windows1252(b.text), 11,
            false);

    const std::vector<tool::placed_label> placed = tool::place_labels(frame, marks, requests);
    json list = json::array();
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const tool::placed_label& l = placed[i];
        if (!l.drawn)
            continue;
        list.push_back({{"kind", texts[i].first},
                        {"text", texts[i].second},
                        {"size", requests[i].font_size},
                        {"x", l.x},
                        {"baseline", l.baseline},
                        {"box", json::array({l.area.x0, l.area.y0, l.area.x1, l.area.y1})},
                        {"leader", l.leader},
                        {"point", json::array({requests[i].at.x, requests[i].at.y})}});
    }
    return {{"font", tool::label_font_family}, {"labels", std::move(list)}};
}

}  // namespace scenario::view
