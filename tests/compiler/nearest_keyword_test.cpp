// The nearest keyword answers a slip in a keyword field with the spelling
// that was meant, within the part of the sources where the field stands, and
// stays silent for words that are no slip of any keyword.
#include "compiler/nearest_keyword.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {
namespace {

TEST(EditDistance, CountsEachKindOfEditOnce) {
    struct row {
        const char* a;
        const char* b;
        std::size_t distance;
    };
    const row rows[] = {
        {"stazione", "stazione", 0},
        {"stazoine", "stazione", 1},  // two neighbours swapped
        {"segnlae", "segnale", 1},
        {"sabbie", "sabbia", 1},  // one replaced
        {"velocta", "velocita", 1},
        {"orologioo", "orologio", 1},  // one left out, one too many
        {"", "sabbia", 6},
        {"treno", "", 5},
        {"abc", "ca", 3},  // a swap is not combined with a later edit of the same letters
    };
    for (const row& r : rows) {
        EXPECT_EQ(edit_distance(r.a, r.b), r.distance) << r.a << " / " << r.b;
        EXPECT_EQ(edit_distance(r.b, r.a), r.distance) << r.b << " / " << r.a;
    }
}

TEST(NearestKeyword, NamesTheSpellingMeantInTheFieldsOwnPart) {
    struct row {
        const char* field;
        std::span<const keyword_row> (*rows)();
        const char* expected;  // "": no suggestion
    };
    const row rows[] = {
        {"stazoine", run_keywords, "stazione"},
        {"segnlae", run_keywords, "segnale"},
        {"  STAZOINE  ", run_keywords, "stazione"},    // case and outer blanks do not count
        {"stazoine 17550", run_keywords, "stazione"},  // nor a number glued on
        {"numero vettura", run_keywords, "numero vetture"},
        {"abbatimento", run_keywords, "abbattimento"},  // no writer spelling: its test word
        {"rallentameno", run_keywords, "rallentamento"},
        {"cruvad5", line_body_keywords, "curvad5"},
        {"pendenze", line_body_keywords, "pendenza"},
        {"montagne", line_body_keywords, "montagna"},
        {"lunghezza percoso", line_general_keywords, "lunghezza percorso"},
        {"sfondo un", line_general_keywords, "sfondo uno"},
        // A keyword of another part has no near spelling in this one.
        {"curvas5", run_keywords, ""},
        {"stazione", line_body_keywords, ""},
        {"curvas5", line_general_keywords, ""},
        // Words that are no slip of a keyword.
        {"treno", run_keywords, ""},
        {"nota", run_keywords, ""},
        {"binario", line_body_keywords, ""},
        {"[codici]", run_keywords, ""},
        {"", run_keywords, ""},
        {"17550", run_keywords, ""},
        // A field that already is a spelling asks for nothing.
        {"sabbia", run_keywords, ""},
    };
    for (const row& r : rows) {
        const std::optional<std::string_view> n = nearest_keyword(r.field, r.rows());
        EXPECT_EQ(std::string(n.value_or("")), r.expected) << "'" << r.field << "'";
    }
}

// The search stops comparing a spelling as soon as it cannot beat the best
// so far; it must still name what a full comparison with every spelling
// names (the first of the nearest, within the allowed distance). Fields near
// and far from the spellings, of every length around theirs.
TEST(NearestKeyword, StoppingEarlyNamesWhatAFullSearchNames) {
    for (auto rows : {run_keywords, line_body_keywords, line_general_keywords}) {
        std::vector<std::string_view> spellings;
        for (const keyword_row& r : rows()) {
            if (r.writer_spellings.empty())
                spellings.push_back(r.part1);
            for (std::string_view s : r.writer_spellings)
                spellings.push_back(s);
        }
        std::vector<std::string> fields;
        for (std::string_view s : spellings) {
            const std::string w(s);
            fields.push_back(w.substr(1));                      // first letter left out
            fields.push_back(w + "x");                          // one too many
            fields.push_back("q" + w.substr(0, w.size() / 2));  // half of it
            if (w.size() > 3)
                fields.push_back(w.substr(0, 1) + w[2] + w[1] + w.substr(3) + "zz");  // swap and two more
            fields.push_back(std::string(w.size(), 'k'));  // nothing alike, the same length
        }
        for (const std::string& f : fields) {
            std::optional<std::string_view> best;
            std::size_t best_distance = std::clamp<std::size_t>(f.size() / 4, 1, 3) + 1;
            for (std::string_view s : spellings)
                if (const std::size_t d = edit_distance(f, s); d < best_distance) {
                    best = s;
                    best_distance = d;
                }
            if (best_distance == 0)
                best.reset();
            EXPECT_EQ(nearest_keyword(f, rows()), best) << "'" << f << "'";
        }
    }
}

}  // namespace
}  // namespace scenario
