// The tag values the import reads: OSM's other_tags (hstore text, with
// escaped quotes) and maxspeed in its written forms.
#include "tools/geodata/line_features.h"
#include "tools/geodata/source_reader.h"

#include <gtest/gtest.h>

namespace scenario::geodata {
namespace {

TEST(TagParsing, OtherTagsOpenUpWithTheirEscapes) {
    const tag_map t =
        parse_hstore(R"("railway"=>"rail","name"=>"Galleria \"Alta\"","tunnel:name"=>"a,b=>c")");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t.at("railway"), "rail");
    EXPECT_EQ(t.at("name"), "Galleria \"Alta\"");
    EXPECT_EQ(t.at("tunnel:name"), "a,b=>c");
    EXPECT_TRUE(parse_hstore("").empty());
    EXPECT_TRUE(parse_hstore(R"("unterminated"=>"va)").empty());
}

TEST(TagParsing, MaxspeedRoundsDownToFiveKmh) {
    const std::vector<std::pair<std::string, std::optional<int>>> cases = {{"80", 80},
                                                                           {"83", 80},
                                                                           {" 100 ", 100},
                                                                           {"50 mph", 80},
                                                                           {"120 mph", 190},
                                                                           {"none", std::nullopt},
                                                                           {"signals", std::nullopt},
                                                                           {"0", std::nullopt},
                                                                           {"3", std::nullopt},
                                                                           {"-40", std::nullopt},
                                                                           {"nan", std::nullopt},
                                                                           {"9999", std::nullopt}};
    for (const auto& [text, kmh] : cases)
        EXPECT_EQ(parse_maxspeed(text), kmh) << text;
}

}  // namespace
}  // namespace scenario::geodata
