// The run description the compiler reads back: the whole file, with the
// blanks that a reader of it might take for slips.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tests/sources/text_lines.h"

#include <cstddef>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {
namespace {

// The file line by line.
const std::vector<std::string>& righe_attese() {
    static const std::vector<std::string> righe = {
        "[generale]",
        "numero vetture,    3",
        "percentuale massa frenata,    120",
        "sabbia,    300",
        "orologio,    16              19            30 ",
        "[aderenze]",
        "aderenza,   0,    100",
        "aderenza,    4000,    85",
        "aderenza,    5800,    70",
        "aderenza,    6350,    85",
        "aderenza,    9700,    75",
        "aderenza,   10000,    85",
        "aderenza,   11850,    70",
        "aderenza,   14600,    85",
        "aderenza,   16800,    75",
        "aderenza,   17100,    85",
        "aderenza,   18400,    70",
        "aderenza,   19400,    80",
        "aderenza,   19900,    85",
        "aderenza,   20750,    75",
        "aderenza,   21800,    85",
        "aderenza,   22050,    75",
        "aderenza,   22500,    70",
        "aderenza,   24800,    80",
        "aderenza,   25000,    90",
        "aderenza,   25300,    80",
        "aderenza,   33000,    70",
        "aderenza,   35600,    85",
        "aderenza,   36200,    95",
        "[vel_limite]",
        "velocita,       0,    80",
        "[stazioni]",
        "stazione,       0,  4,  600,  0, 0, 0,  1,1,0,  4,1,1,    1,  16,20, 0, CALVENA",
        "stazione,    1800, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, CALVENA OVEST",
        "stazione,    5250, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, VALDIBRANA",
        "stazione,   11550, 22,  200,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, PITECCIO",
        "stazione,   17550, 22,  200,  0, 0, 1,  0,0,0,  4,1,1,   60,  16,37, 0, CORBEZZI",
        "stazione,   19900, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, CASTAGNO",
        "stazione,   21900, 28,  200,  0, 0, 0,  0,0,0,  0,0,0,   30,  16,43, 0, S.MOMME'",
        "stazione,   25050, 12,  300,  1, 0, 0,  4,1,0,  2,1,1,   60,  16,47, 0, PRACCHIA",
        "stazione,   30150, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, BIAGIONI LAGACCI",
        "stazione,   32100, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,   60,  16,56, 0, MOLINO DEL PALLONE",
        "stazione,   36300, 28,  200,  0, 0, 0,  0,0,0,  0,0,0,   30,  17, 2, 0, PONTE DELLA VENTURINA",
        "stazione,   39800, 12,  400,  0, 0, 0,  1,1,0,  2,1,1,    0,  17, 8, 0, ROCCALBA TERME",
        "[rallentamenti]",
        "rallentamento,   18650,    30,  300, 0,  1,  0",
        "rallentamento,   34000,    30, 1000, 0,  0,  0",
        "[segnali]",
        "segnale,    3650,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,    4650,   2, 4, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,    9800,   1, 3, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   10750,   2, 4, 1,  0, 0,    0,  0,0,0, 245",
        "segnale,   16050,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   17100,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   23500,   1, 3, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   24400,   2, 2, 3,  0, 0,    0,  0,0,0, 250",
        "segnale,   30200,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   31250,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   37550,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
        "segnale,   38850,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
        "[codici]",
        "[fine]",
    };
    return righe;
}

TEST(RunDescription, WritesTheFileLineByLine) {
    prove::confronta_righe(testo_lista(sorgenti::righe_treno()), righe_attese());
}

TEST(RunDescription, ClockLineKeepsItsBlankSeparatedNumbersAndTrailingBlank) {
    const std::string orologio = sorgenti::righe_treno().at(4);
    EXPECT_EQ(orologio.size(), 46u);
    EXPECT_EQ(orologio, "orologio,    16" + std::string(14, ' ') + "19" + std::string(12, ' ') + "30 ");
}

}  // namespace
}  // namespace scenario
