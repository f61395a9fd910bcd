#include "compiler/error_codes.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace scenario {
namespace {

TEST(ErrorCodes, EveryNumberTheCompilerUsesHasOneRow) {
    std::set<int32_t> numbers;
    for (const error_info& e : error_table()) {
        EXPECT_TRUE(numbers.insert(error_number(e.code)).second) << error_number(e.code);
        EXPECT_FALSE(std::string(e.description).empty());
        EXPECT_EQ(error_from_number(error_number(e.code)), e.code);
    }
    const std::set<int32_t> expected{1,  2,  3,  4,  5,  6,  7,  8,  9,  10,  11,  12,  13,   15,
                                     16, 17, 18, 19, 20, 21, 22, 24, 25, 101, 102, 103, 1250, 1251};
    EXPECT_EQ(numbers, expected);
    for (int32_t unused : {0, 14, 23, 26, 100, 104, 1249, 1252, -1})
        EXPECT_FALSE(error_from_number(unused).has_value()) << unused;
}

TEST(ErrorCodes, SeverityFollowsWhoFindsTheError) {
    for (const error_info& e : error_table()) {
        const int32_t n = error_number(e.code);
        const error_severity expected = n >= 1250            ? error_severity::fatal
                                        : n >= 11 && n <= 13 ? error_severity::sweep
                                                             : error_severity::reader_stop;
        EXPECT_EQ(error_severity_of(e.code), expected) << n;
    }
}

}  // namespace
}  // namespace scenario
