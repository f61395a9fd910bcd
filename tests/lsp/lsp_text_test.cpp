// Editor text back to Windows-1252 bytes, and byte offsets to editor positions.
#include "tools/lsp/editor_text.h"
#include "tools/lsp/positions.h"
#include "tools/lsp/uri.h"

#include <gtest/gtest.h>

namespace scenario::tool::lsp {
namespace {

TEST(EditorText, EveryUtf16UnitBecomesOneByte) {
    struct row {
        const char* name;
        std::string utf8;
        std::string bytes;
        std::vector<std::array<int32_t, 3>> lost;  // line, column, units
    };
    const std::vector<row> rows = {
        {"ASCII", "segnale, 10\r\n", "segnale, 10\r\n", {}},
        {"Latin-1 and the code page's own", "\xC3\xA9\xE2\x82\xAC\xC5\xB8", "\xE9\x80\x9F", {}},
        {"undefined bytes keep their code points", "\xC2\x81\xC2\x9D", "\x81\x9D", {}},
        {"outside the code page",
         "a\xE2\x98\x83"
         "b",
         "a?b",
         {{0, 1, 1}}},
        {"beyond U+FFFF: two units", "\xF0\x9F\x98\x80x", "??x", {{0, 0, 2}}},
        {"on a later line", "a\nbc\xE2\x98\x83", "a\nbc?", {{1, 2, 1}}},
        {"invalid UTF-8", "a\xFF\xC3", "a??", {{0, 1, 1}, {0, 2, 1}}},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        const encoded_text e = to_windows1252(r.utf8);
        EXPECT_EQ(e.bytes, r.bytes);
        std::vector<std::array<int32_t, 3>> lost;
        for (const unencodable& u : e.lost)
            lost.push_back({u.line, u.column, u.units});
        EXPECT_EQ(lost, r.lost);
    }
}

TEST(Positions, OffsetsBecomeLinesAndColumnsWithCrLfBreaks) {
    const line_index i("ab\r\ncd\nlast");
    EXPECT_EQ(i.position(0), nlohmann::json({{"line", 0}, {"character", 0}}));
    EXPECT_EQ(i.position(3), nlohmann::json({{"line", 0}, {"character", 2}}));  // inside CR LF
    EXPECT_EQ(i.position(5), nlohmann::json({{"line", 1}, {"character", 1}}));
    EXPECT_EQ(i.position(99), nlohmann::json({{"line", 2}, {"character", 4}}));
    EXPECT_EQ(i.offset(2, 2), 5u);
    EXPECT_EQ(i.offset(3, 9), 11u);  // clamped to the end
    EXPECT_EQ(i.whole_line(1)["end"]["character"], 2);
}

TEST(Uris, FileUrisRoundTripWithEscapes) {
    const std::string uri = "file:///tmp/dir%20x/Calvena_Roccalba_linea.txt";
    const auto p = path_of_uri(uri);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->generic_string(), "/tmp/dir x/Calvena_Roccalba_linea.txt");
    EXPECT_EQ(uri_of_path(*p), uri);
    EXPECT_FALSE(path_of_uri("untitled:Untitled-1").has_value());
}

}  // namespace
}  // namespace scenario::tool::lsp
