// Named placeholders: filled whatever their order, never a crash on a faulty
// pattern, and the names a pattern holds (what the catalogue check compares).
#include "tools/i18n/fill.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

using scenario::i18n::fill;

TEST(Fill, ReplacesNamedPlaceholders) {
    EXPECT_EQ(fill("the value {value} of {keyword}", {{"keyword", "velocita"}, {"value", 2}}),
              "the value 2 of velocita");
    // A translation may put them the other way round, or twice.
    EXPECT_EQ(fill("{keyword}: valore {value}, {value}", {{"value", "6.000"}, {"keyword", "pendenza"}}),
              "pendenza: valore 6.000, 6.000");
    EXPECT_EQ(fill("{n} {n_2}", {{"n", -3}, {"n_2", std::uint64_t{18446744073709551615u}}}),
              "-3 18446744073709551615");
    // A value is never read as a pattern.
    EXPECT_EQ(fill("[{a}]", {{"a", "{b}"}, {"b", "x"}}), "[{b}]");
}

TEST(Fill, FaultyPatternsShowTheirFault) {
    const struct {
        const char* pattern;
        const char* expected;
    } cases[] = {
        {"no placeholder", "no placeholder"},
        {"{missing} stays", "{missing} stays"},  // no argument of that name
        {"{{a}} is literal", "{a} is literal"},
        {"lone { and } stay", "lone { and } stay"},
        {"unclosed {a", "unclosed {a"},
        {"{}", "{}"},
        {"{a b}", "{a b}"},
        {"{a:>5}", "{a:>5}"},
        {"end {", "end {"},
        {"{a}{a}", "AA"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fill(c.pattern, {{"a", "A"}, {"surplus", "never shown"}}), c.expected) << c.pattern;
}

TEST(Fill, PlaceholderNames) {
    using names = std::set<std::string>;
    const struct {
        const char* pattern;
        bool valid;
        names expected;
    } cases[] = {
        {"plain", true, {}},
        {"{b} then {a} then {b}", true, {"a", "b"}},
        {"{{not_one}} {x_1}", true, {"x_1"}},
        {"lone { brace", false, {}},
        {"lone } brace", false, {}},
        {"{}", false, {}},
        {"{a:>5}", false, {}},
        {"{0.x}", false, {}},
    };
    for (const auto& c : cases) {
        const auto found = scenario::i18n::placeholder_names(c.pattern);
        ASSERT_EQ(found.ok(), c.valid) << c.pattern;
        if (c.valid) {
            EXPECT_EQ(found.value(), c.expected) << c.pattern;
        }
    }
}

}  // namespace
