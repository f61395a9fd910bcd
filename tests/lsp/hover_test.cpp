// Hovers over the program's own sources and over copies with one fault: what
// a keyword's line does, and a value's meaning, reading and place.
#include "tools/lsp/hover.h"

#include "tests/lsp/program_pair.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scenario::tool::lsp {
namespace {

using test_support::place_of;
using test_support::program_pair;
using test_support::program_text;

struct hover_case {
    sorgente_testo file;
    const char* line_start;  // the first line that starts so
    const char* word;        // the hover stands on its first byte
    std::vector<std::string> says;
};

std::string hover_text(const compiled_sources& pair, const hover_case& c) {
    const auto [line, column] = place_of(program_text(c.file), c.line_start, c.word);
    const nlohmann::json h = hover_at(pair, c.file, line, column);
    if (h.is_null())
        return "(null)";
    EXPECT_EQ(h["contents"]["kind"], "markdown");
    EXPECT_EQ(h["range"]["start"]["line"], line);
    EXPECT_LE(h["range"]["start"]["character"].get<int>(), column);
    EXPECT_GE(h["range"]["end"]["character"].get<int>(), column);
    return h["contents"]["value"].get<std::string>();
}

TEST(Hover, TheProgramsSources) {
    const auto L = sorgente_testo::linea;
    const auto R = sorgente_testo::corsa;
    const hover_case cases[] = {
        {L,
         "lunghezza percorso",
         "lunghezza",
         {"**lunghezza percorso**: a route length line", "1. `L`: route length (m)"}},
        {L,
         "lunghezza percorso",
         "40000",
         {"**L**: route length", "unit: m", "32-bit signed", "read as 40000"}},
        {L, "[curve]", "[curve]", {"ends the general section"}},
        {L, "[pendenze]", "[pendenze]", {"pass over it"}},
        {L, "[generale]", "[generale]", {"Nothing before it is read"}},
        {L,
         "montagna,   5800",
         "5800",
         {"start of the tunnel",
          "At km 5.800 from the route's start, cell 116: a tunnel-name board ((VAIONI)(535 m.))",
          "in a tunnel of class"}},
        {L, "montagna,   5800", "12", {"tunnel class", "11 and above: a long tunnel"}},
        {L,
         "cartello_indicatore,  5750",
         "(VAIONI)",
         {"board caption", "read as the text \"(VAIONI)(535 m.)\""}},
        {R,
         "segnale,    3650",
         "segnale",
         {"a signal line (run description)",
          "This line: km 3.650 from the route's start, cell 74: a signal"}},
        {R,
         "segnale,    3650",
         "3650",
         {"**posizione**: position of the signal, value 1 of 11", "cell 74: a signal"}},
        {R, "stazione,    5250", "5250", {"km 5.250", "a station stop (VALDIBRANA)"}},
        {R, "stazione,    1800", "CALVENA OVEST", {"read as the text \"CALVENA OVEST\""}},
        {R, "orologio", "19", {"minutes", "16-bit signed", "read as 19"}},
        {R, "rallentamento,   18650", "18650", {"km 18.650", "the start of a slowdown"}},
        {R, "segnale,   10750", "245", {"101 to 255: stored as it is", "read as 245"}},
    };
    const compiled_sources pair = program_pair();
    for (const hover_case& c : cases) {
        const std::string text = hover_text(pair, c);
        for (const std::string& s : c.says)
            EXPECT_NE(text.find(s), std::string::npos)
                << c.line_start << " / " << c.word << ": " << s << "\nin:\n"
                << text;
        EXPECT_EQ(text.find("Warning"), std::string::npos) << text;
    }
}

TEST(Hover, NothingWhereNoFieldStands) {
    const compiled_sources pair = program_pair();
    EXPECT_TRUE(hover_at(pair, sorgente_testo::linea, 0, 0).is_null()) << "an empty line before the heading";
    EXPECT_TRUE(hover_at(pair, sorgente_testo::corsa, 1, 200).is_null()) << "beyond the line's end";
    EXPECT_TRUE(hover_at(pair, sorgente_testo::corsa, 5000, 0).is_null()) << "beyond the file's end";
}

// A copy with one fault: how the value was taken, in the warnings' words.
TEST(Hover, HowAFaultyValueWasTaken) {
    struct fault {
        const char* from;
        const char* to;
        const char* line_start;  // the hover stands `offset` bytes after `word` on that line
        const char* word;
        int offset;
        std::vector<std::string> says;
    };
    const fault faults[] = {
        {"sabbia,    300",
         "sabbia,    ",
         "sabbia",
         ",",
         5,
         {"read as 0: empty", "**Warning:**", "empty and read as 0"}},
        {"frenata,    120",
         "frenata,    12x",
         "percentuale massa",
         "12x",
         0,
         {"read as 0: not a number", "**Warning:**", "is not a whole number"}},
        {"aderenza,   0,    100",
         "aderenza,   0,    300",
         "aderenza,   0,",
         "300",
         0,
         {"read as 300", "**Warning:**", "it is stored as 44"}},
        {"segnale,    3650", "segnal,    3650", "segnal,", "segnal", 0, {"**Warning:**", "did you mean"}},
    };
    for (const fault& f : faults) {
        const compiled_sources pair = program_pair(sorgente_testo::corsa, f.from, f.to);
        const auto [line, column] = place_of(pair.run_text, f.line_start, f.word);
        const nlohmann::json h = hover_at(pair, sorgente_testo::corsa, line, column + f.offset);
        ASSERT_FALSE(h.is_null()) << f.to;
        const std::string text = h["contents"]["value"];
        for (const std::string& s : f.says)
            EXPECT_NE(text.find(s), std::string::npos) << f.to << ": " << s << "\nin:\n" << text;
    }
}

}  // namespace
}  // namespace scenario::tool::lsp
