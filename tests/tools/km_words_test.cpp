// The one km formatter in each of its styles: the edges where the copies it
// replaced could disagree (below one kilometre negative, a tenth's half).
#include "tools/words/km_words.h"

#include <gtest/gtest.h>
#include <vector>

namespace scenario::tool {
namespace {

TEST(KmWords, EveryStyle) {
    struct row {
        int64_t metres;
        km_style style;
        const char* want;
    };
    const std::vector<row> rows = {
        {0, km_style::post, "km 0.000"},      {6000, km_style::post, "km 6.000"},
        {35330, km_style::post, "km 35.330"}, {7, km_style::post, "km 0.007"},
        {-500, km_style::post, "km -0.500"},  {-1500, km_style::post, "km -1.500"},
        {35330, km_style::figure, "35.330"},  {-20, km_style::figure, "-0.020"},
        {6000, km_style::axis, "6 km"},       {40000, km_style::axis, "40 km"},
        {40050, km_style::axis, "40.0 km"},   {12500, km_style::axis, "12.5 km"},
        {1250, km_style::axis, "1.2 km"},     {1350, km_style::axis, "1.4 km"},
        {30, km_style::axis, "0.0 km"},       {-30, km_style::axis, "0.0 km"},
    };
    for (const row& r : rows)
        EXPECT_EQ(km_words(r.metres, r.style), r.want) << r.metres;
    EXPECT_EQ(kilometres(35330), 35.33);
}

}  // namespace
}  // namespace scenario::tool
