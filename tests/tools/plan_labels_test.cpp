// The labels of the plan: on the program's own route and on the long
// synthetic one, every station's name is placed, inside the drawing, and no
// two labels overlap.
#include "bench/synthetic_route.h"
#include "common/line_list.h"
#include "compiler/route_facts.h"
#include "sources/writers.h"
#include "tools/core/memory_compile.h"
#include "tools/render/label_placement.h"
#include "tools/render/svg_plan.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scenario::tool {
namespace {

plan_data compiled_plan(const std::string& line, const std::string& run, const scenario_names& names) {
    const compiled_sources c = compile_texts(line, run, names, true);
    EXPECT_TRUE(c.errors.empty());
    plan_data d;
    d.title = "test";
    d.tracciato = c.state->tracciato;
    d.celle = c.state->celle;
    d.voci = c.state->voci;
    return d;
}

std::string describe(const plan_label& l) {
    const box& b = l.place.area;
    return "\"" + l.text + "\" at " + std::to_string(b.x0) + "," + std::to_string(b.y0) + " - " +
           std::to_string(b.x1) + "," + std::to_string(b.y1);
}

void expect_clean_labels(const plan_data& d, std::size_t stations) {
    const plan_labelling l = plan_labels(d);
    std::size_t names = 0;
    for (const plan_label& a : l.labels) {
        if (a.station) {
            ++names;
            EXPECT_TRUE(a.place.drawn) << a.text;
        }
        if (!a.place.drawn)
            continue;
        const box& b = a.place.area;
        EXPECT_TRUE(b.x0 >= l.frame.x0 && b.x1 <= l.frame.x1 && b.y0 >= l.frame.y0 && b.y1 <= l.frame.y1)
            << describe(a);
        EXPECT_GE(b.x1 - b.x0 + 1e-9, label_width(characters_in(a.text), a.font_size)) << describe(a);
    }
    EXPECT_EQ(names, stations);
    for (std::size_t i = 0; i < l.labels.size(); ++i)
        for (std::size_t j = i + 1; j < l.labels.size(); ++j)
            if (l.labels[i].place.drawn && l.labels[j].place.drawn) {
                EXPECT_FALSE(l.labels[i].place.area.touches(l.labels[j].place.area))
                    << describe(l.labels[i]) << " and " << describe(l.labels[j]);
            }
}

TEST(PlanLabels, EveryStationNamedInsideWithoutOverlapOnTheProgramsRoute) {
    const plan_data d = compiled_plan(testo_lista(sorgenti::righe_linea()),
                                      testo_lista(sorgenti::righe_treno()), {"Calvena_Roccalba", "4127"});
    EXPECT_EQ(route::stations(d.celle, d.voci).size(), 12u);
    expect_clean_labels(d, 12);
}

TEST(PlanLabels, EveryStationNamedInsideWithoutOverlapOnTheSyntheticRoute) {
    const banco::sorgenti_sintetiche s = banco::percorso_sintetico(100);
    const plan_data d = compiled_plan(s.linea, s.corsa, {"Synthetic", "1"});
    const std::size_t stations = route::stations(d.celle, d.voci).size();
    EXPECT_GT(stations, 12u);
    expect_clean_labels(d, stations);
}

// Points crowded at the frame's edges and on one spot: required labels still
// find a free place inside; optional ones are dropped rather than overlap.
TEST(PlanLabels, CrowdedPointsAndEdges) {
    const box frame{0, 0, 400, 200};
    std::vector<label_request> requests;
    for (int i = 0; i < 6; ++i)
        requests.push_back({{0, 100}, 12, 13, true});  // on the left edge
    requests.push_back({{400, 0}, 20, 13, true});      // in the top right corner
    for (int i = 0; i < 3; ++i)
        requests.push_back({{0, 100}, 5, 11, false});
    const std::vector<placed_label> p = place_labels(frame, {{-5, 95, 5, 105}}, requests);
    for (std::size_t i = 0; i < p.size(); ++i) {
        SCOPED_TRACE(i);
        if (requests[i].required) {
            EXPECT_TRUE(p[i].drawn);
        }
        if (!p[i].drawn)
            continue;
        const box& b = p[i].area;
        EXPECT_TRUE(b.x0 >= 0 && b.x1 <= 400 && b.y0 >= 0 && b.y1 <= 200);
        for (std::size_t j = 0; j < i; ++j)
            if (p[j].drawn) {
                EXPECT_FALSE(b.touches(p[j].area)) << j;
            }
    }
    EXPECT_FALSE(p[0].leader);  // the first goes right beside its point
    EXPECT_TRUE(p[5].leader);   // the later ones stand away from it, tied by a line
}

}  // namespace
}  // namespace scenario::tool
