// The line description's fixed rows: the layout of its sections, the
// general and gradient rows in full, and the rows that pin down the curves,
// tunnels and boards. The rules the other rows follow are checked in
// line_description_rules_test.cpp.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tests/sources/text_lines.h"

#include <algorithm>
#include <cstddef>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {
namespace {

struct riga_numerata {
    std::size_t numero;  // from 1
    std::string_view testo;
};

// Rows whose line number and text are fixed.
constexpr riga_numerata righe_fisse[] = {
    {1, ""},
    {2, ""},
    {3, "[generale]"},
    {4, "lunghezza percorso,    40000"},
    {5, "progressiva chilometrica uno,    0,    33550,    0"},
    {6, "progressiva chilometrica due,    0,    0,    0"},
    {7, "progressiva chilometrica tre,    0,    0,    0"},
    {8, "sfondo uno,    1"},
    {9, "sfondo due,    5900"},
    {10, "sfondo tre,    9700"},
    {11, "ripetizione segnali 4 codici,    0    ,0"},
    {12, "[curve]"},
    {13, "curvad5,  400,  550"},
    {14, "curvas6,  2000,  50"},
    {15, "curvad4,  3000,  200"},
    {16, "curvad5,  3800,  200"},
    {17, "curvas5,  4200,  100"},
    {94, "curvad5,  39450,  150"},
    {95, "[pendenze]"},
    {96, "pendenza,  0,   2"},
    {97, "pendenza,  550,   12"},
    {98, "pendenza,  3650,   24"},
    {99, "pendenza,  4800,   25"},
    {100, "pendenza,  5600,   24"},
    {101, "pendenza,  7000,   25"},
    {102, "pendenza,  10100,   27"},
    {103, "pendenza,  10700,   25"},
    {104, "pendenza,  11350,   0"},
    {105, "pendenza,  11600,   25"},
    {106, "pendenza,  18200,   21"},
    {107, "pendenza,  19450,   24"},
    {108, "pendenza,  20150,   25"},
    {109, "pendenza,  21200,   26"},
    {110, "pendenza,  21900,   24"},
    {111, "pendenza,  24850,   0"},
    {112, "pendenza,  25350,   -17"},
    {113, "pendenza,  26150,   -20"},
    {114, "pendenza,  26750,   -19"},
    {115, "pendenza,  27750,   -21"},
    {116, "pendenza,  29850,   -16"},
    {117, "pendenza,  30350,   -9"},
    {118, "pendenza,  30900,   -17"},
    {119, "pendenza,  32000,   -14"},
    {120, "pendenza,  32750,   -25"},
    {121, "pendenza,  36350,   -20"},
    {122, "pendenza,  37000,   -11"},
    {123, "pendenza,  38200,   -5"},
    {124, "pendenza,  38900,   -20"},
    {125, "pendenza,  39200,   -13"},
    {126, "pendenza,  39700,   -4"},
    {127, "pendenza,  40050,   0"},
    {128, "[montagne]"},
    {129, "montagna,   5800,  6350,  12"},
    {170, "montagna,   38950,  39200,  11"},
    {171, "[cartelli]"},
    {172, "indicatori_vmax,  400,  75,  80,  80,  0,  ,  ,  ,  0"},
    {173, "[indicazioni]"},
    {174, "cartello_indicatore,  5750,   (VAIONI)(535 m.)"},
    {216, "cartello_indicatore,  38900,   (MADONNA)(261 m. )"},
    {217, "[fine]"},
};

// Rows fixed in text that stand in a section at a place of their own
// choosing; a pair must stand on consecutive lines.
struct righe_nella_sezione {
    std::size_t prima, ultima;  // the section's lines, from 1
    std::vector<std::string_view> righe;
};

const std::vector<righe_nella_sezione>& righe_di_sezione() {
    static const std::vector<righe_nella_sezione> casi = {
        {13, 94, {"curvas6,  5500,  700", "curvad5,  6200,  800"}},
        {13, 94, {"curvas5,  11550,  50", "curvad5,  11600,  1200"}},
        {129, 170, {"montagna,   6450,  6650,  12"}},
        {129, 170, {"montagna,   7150,  7300,  11"}},
        {129, 170, {"montagna,   9700,  10000,  12"}},
        {129, 170, {"montagna,   20000,  20050,  12"}},
        {129, 170, {"montagna,   22050,  24800,  11"}},
        {129, 170, {"montagna,   36400,  36450,  12"}},
        {174,
         216,
         {"cartello_indicatore,  22000,   (APPENNINO)(2727 m.  )",
          "cartello_indicatore,  24800,   (CULMINE)"}},
    };
    return casi;
}

std::vector<std::string> righe_scritte() {
    return prove::righe_testo(testo_lista(sorgenti::righe_linea()));
}

TEST(LineDescription, Has217LinesWithTheFixedRowsInPlace) {
    const auto righe = righe_scritte();
    ASSERT_EQ(righe.size(), 217u);
    for (const auto& fissa : righe_fisse) {
        EXPECT_EQ(righe[fissa.numero - 1], fissa.testo) << "line " << fissa.numero;
    }
}

TEST(LineDescription, PinnedRowsStandInTheirSections) {
    const auto righe = righe_scritte();
    ASSERT_EQ(righe.size(), 217u);
    for (const auto& caso : righe_di_sezione()) {
        const auto inizio = righe.begin() + static_cast<std::ptrdiff_t>(caso.prima - 1);
        const auto fine = righe.begin() + static_cast<std::ptrdiff_t>(caso.ultima);
        const auto trovata = std::search(inizio, fine, caso.righe.begin(), caso.righe.end(),
                                         [](const std::string& a, std::string_view b) { return a == b; });
        EXPECT_NE(trovata, fine) << caso.righe.front();
    }
}

TEST(LineDescription, OnlyTheFirstTwoLinesAreEmptyAndHeadersStandAlone) {
    const auto righe = righe_scritte();
    std::size_t intestazioni = 0;
    for (std::size_t i = 0; i < righe.size(); ++i) {
        EXPECT_EQ(righe[i].empty(), i < 2) << "line " << i + 1;
        if (righe[i].starts_with("[")) {
            ++intestazioni;
            EXPECT_TRUE(righe[i].ends_with("]")) << "line " << i + 1;
        }
    }
    EXPECT_EQ(intestazioni, 7u);
}

}  // namespace
}  // namespace scenario
