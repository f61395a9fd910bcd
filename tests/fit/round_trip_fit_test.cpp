// The program's own route, redrawn from its compiled plan and cells as a line
// at one metre per metre with its heights, is fitted back exactly: the same
// curve lines, and gradient lines whose cells are the program's.
#include "common/line_list.h"
#include "compiler/state.h"
#include "sources/writers.h"
#include "tests/fit/strict_findings.h"
#include "tools/core/memory_compile.h"
#include "tools/fit/draft_sources.h"
#include "tools/fit/fit_line.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scenario::fit {
namespace {

constexpr int64_t route = 40000;

std::vector<curve_line> program_curves() {
    std::vector<curve_line> out;
    for (const std::string& l : sorgenti::righe_linea()) {
        if (l.rfind("curva", 0) != 0)
            continue;
        curve_line c;
        c.left = l[5] == 's';
        c.curve_class = l[6] - '0';
        const std::size_t comma = l.find(',', 8);
        c.start = std::stoll(l.substr(8, comma - 8));
        c.length = std::stoll(l.substr(comma + 1));
        out.push_back(c);
    }
    return out;
}

// The fitted curve lines against the program's: the same classes, sides and
// lengths, each starting within a metre.
void expect_program_curves(const fitted_line& f) {
    const std::vector<curve_line> expected = program_curves();
    ASSERT_EQ(f.curves.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("curve " + std::to_string(i + 1));
        EXPECT_EQ(f.curves[i].curve_class, expected[i].curve_class);
        EXPECT_EQ(f.curves[i].left, expected[i].left);
        EXPECT_LE(std::abs(f.curves[i].start - expected[i].start), 1);
        EXPECT_EQ(f.curves[i].length, expected[i].length);
    }
}

class ProgramRoute : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        program_ = new tool::compiled_sources(tool::compile_texts(testo_lista(sorgenti::righe_linea()),
                                                                  testo_lista(sorgenti::righe_treno()),
                                                                  {"Calvena_Roccalba", "4127"}, true));
        const stato_scenario& s = *program_->state;
        // Points along the plan's heading, a metre each; heights from its cells.
        input_.points.push_back({0, 0});
        input_.heights.push_back(300);
        for (int32_t m = 1; m <= route; ++m) {
            const double dx = s.tracciato.at(m, 0).numero() - s.tracciato.at(m - 1, 0).numero();
            const double dy = s.tracciato.at(m, 1).numero() - s.tracciato.at(m - 1, 1).numero();
            const double len = std::hypot(dx, dy);
            const point last = input_.points.back();
            input_.points.push_back({last.x + dx / len, last.y + dy / len});
            const cella& c = s.celle[static_cast<std::size_t>((m - 1) / 50)];
            input_.heights.push_back(input_.heights.back() + (c.pendenza - 100) / 1000.0);
        }
    }
    static void TearDownTestSuite() { delete program_; }
    static tool::compiled_sources* program_;
    static line_input input_;
};
tool::compiled_sources* ProgramRoute::program_ = nullptr;
line_input ProgramRoute::input_;

TEST_F(ProgramRoute, FitsBackTheProgramsOwnCurvesAndCells) {
    result<fitted_line> f = fit_line(input_, {0, 0, 50});
    ASSERT_TRUE(f.ok()) << f.error();
    EXPECT_EQ(f->length, route);
    expect_program_curves(*f);
    EXPECT_LT(f->report.heading_error_max_deg, 1e-6);
    EXPECT_LT(f->report.lateral_max, 1e-3);
    EXPECT_NEAR(f->report.compiler_stretch, 1.028, 0.002);

    // The fitted gradient lines compile to the program's cells along the route.
    std::vector<std::string> lines = {"[generale]", "lunghezza percorso,    40000", "[pendenze]"};
    for (const gradient_line& g : f->gradients)
        lines.push_back("pendenza,  " + std::to_string(g.position) + ",  " + std::to_string(g.per_mille));
    lines.push_back("[fine]");
    const tool::compiled_sources mine =
        tool::compile_texts(testo_lista(lines), "[generale]\r\n[fine]\r\n", {"x", "1"}, false);
    for (std::size_t c = 0; c < route / 50; ++c)
        ASSERT_EQ(mine.state->celle[c].pendenza, program_->state->celle[c].pendenza) << "cell " << c;
    EXPECT_LT(f->report.height_max, 1e-6);

    // Its reverse curves with no straight between pass the strict check as
    // the draft writes them.
    draft d;
    d.name = "Calvena_Roccalba";
    d.train = 4127;
    d.line = *f;
    EXPECT_EQ(strict_findings(write_draft(d).texts), std::vector<std::string>{});
}

// As a map gives it back: turned to any heading, its metres a little off
// (a projection's scale), the same curve lines.
TEST_F(ProgramRoute, FitsBackTurnedAndScaled) {
    line_input turned = input_;
    const double a = 2.2, c = std::cos(a), s = std::sin(a), scale = 1.000005;
    for (point& p : turned.points)
        p = {scale * (c * p.x - s * p.y) + 512345.6, scale * (s * p.x + c * p.y) + 4812345.6};
    result<fitted_line> f = fit_line(turned, {0, 0, 50});
    ASSERT_TRUE(f.ok()) << f.error();
    EXPECT_EQ(f->length, route);
    expect_program_curves(*f);
}

}  // namespace
}  // namespace scenario::fit
