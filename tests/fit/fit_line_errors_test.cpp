// Lines the fit refuses, each with a reason and nothing fitted.
#include "tools/fit/fit_line.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace scenario::fit {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

line_input straight(double length, std::size_t points) {
    line_input in;
    for (std::size_t i = 0; i < points; ++i)
        in.points.push_back({0, length * static_cast<double>(i) / static_cast<double>(points - 1)});
    return in;
}

TEST(FitLine, RefusesWhatNoRouteCanBe) {
    struct refused {
        const char* name;
        line_input input;
        fit_options options;
        const char* says;
    };
    line_input with_nan = straight(1000, 11), with_inf = straight(1000, 11), far = straight(1000, 11),
               nan_height = straight(1000, 11), few_heights = straight(1000, 11), deep = straight(1000, 11);
    with_nan.points[3].x = nan;
    with_inf.points[5].y = -inf;
    far.points[0].x = 1e300;
    nan_height.heights.assign(11, 100);
    nan_height.heights[4] = nan;
    few_heights.heights.assign(3, 100);
    deep.heights.assign(11, -20000);
    const line_input one_point = {{{0, 0}}, {}, {}};
    line_input same_point;
    same_point.points.assign(5, point{10, 10});
    const refused cases[] = {
        {"no points", {}, {}, "fewer than two points"},
        {"one point", one_point, {}, "fewer than two points"},
        {"one place", same_point, {}, "at least 100 m"},
        {"short", straight(60, 4), {}, "at least 100 m"},
        {"too long", straight(1000001, 3), {}, "at most 1,000,000 m"},
        {"NaN", with_nan, {}, "not a number at point 4"},
        {"infinite", with_inf, {}, "not a number at point 6"},
        {"huge", far, {}, "100,000 km"},
        {"NaN height", nan_height, {}, "height is not a number at point 5"},
        {"heights miscounted", few_heights, {}, "11 points but 3 heights"},
        {"below the Earth", deep, {}, "not on the Earth"},
        {"negative tolerance", straight(1000, 11), {-1, 5, 40}, "tolerances"},
        {"NaN tolerance", straight(1000, 11), {nan, 5, 40}, "tolerances"},
    };
    for (const refused& c : cases) {
        const result<fitted_line> f = fit_line(c.input, c.options);
        ASSERT_FALSE(f.ok()) << c.name;
        EXPECT_NE(f.error().find(c.says), std::string::npos) << c.name << ": " << f.error();
    }
}

TEST(FitLine, DuplicatePointsAndAFlatLineAreFine) {
    line_input in = straight(2000, 201);
    in.points.insert(in.points.begin() + 50, in.points[50]);
    in.points.insert(in.points.begin() + 50, in.points[50]);
    const result<fitted_line> f = fit_line(in, {});
    ASSERT_TRUE(f.ok()) << f.error();
    EXPECT_EQ(f->length, 2000);
    EXPECT_TRUE(f->curves.empty());
    ASSERT_EQ(f->gradients.size(), 1u);  // no heights: level
    EXPECT_EQ(f->gradients[0].per_mille, 0);
}

}  // namespace
}  // namespace scenario::fit
