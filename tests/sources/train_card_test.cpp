// The train card: the whole document as the driver reads it.
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

using prove::riga_contata;

// The document line by line, with the length of each line.
const std::vector<riga_contata>& righe_attese() {
    static const std::vector<riga_contata> righe = {
        {0, ""},
        {0, ""},
        {82, "  ___________________                                               ______________"},
        {83, " |                   |                    SCHEDA                   |              |"},
        {83, " |   TRENO n. 4127   |                   da: CALVENA               |    V160 B    |"},
        {83, " |___________________|                    a: ROCCALBA T.           |     120%     |"},
        {83, "                                                                   |______________|"},
        {56, "  ___________________                ___________________"},
        {64, " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       "},
        {57, " |    REGIONALE      |              |      250T         |"},
        {57, " |___________________|              |___________________|"},
        {0, ""},
        {82, "  ________________________________________________________________________________"},
        {83, " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |"},
        {83, " | Lim.|Marc.|          |  Rs |                            |                |     |"},
        {83, " |_____|_____|__________|_____|____________________________|________________|_____|"},
        {83, " |  80 |     |  33.570  |     | CALVENA                    |          16.20 |     |"},
        {83, " |     |     |  35.330  |     | CALVENA OVEST              |      16.22     |     |"},
        {83, " |     |     |  38.800  |     | Valdibrana                 |      16.25     |     |"},
        {83, " |     |     |  45.100  |     | Piteccio                   |      16.30     |     |"},
        {83, " |     |     |  51.080  |     | CORBEZZI                   | 16.36    16.37 |     |"},
        {83, " |     |     |  53.440  |     | CASTAGNO                   |      16.40     |     |"},
        {83, " |     |     |  55.440  |     | SAN MOMME'                 | 16.42+   16.43 |     |"},
        {83, " |     |     |  58.600  |     | PRACCHIA                   | 16.46    16.47 |     |"},
        {83, " |     |     |  63.670  |     | BIAGIONI-LAGACCI           |      16.52     |     |"},
        {83, " |     |     |  65.710  |     | MOLINO DEL PALLONE         | 16.55    16.56 |     |"},
        {83, " |     |     |  69.890  |     | PONTE DELLA VENTURINA      | 17.01+   17.02 |     |"},
        {83, " |     |     |  73.370  |     | ROCCALBA TERME             | 17.08          |     |"},
        {83, " |_____|_____|__________|_____|____________________________|________________|_____|"},
        {0, ""},
        {64, "Nota: Nella colonna Orario il simbolo '+' indica 'mezzo minuto'."},
    };
    return righe;
}

TEST(TrainCard, WritesEveryLineWithItsListedLength) {
    const std::string testo = testo_lista(sorgenti::righe_scheda());
    const auto attese = prove::confronta_righe_contate(testo, righe_attese());
    prove::confronta_righe(testo, attese);
}

}  // namespace
}  // namespace scenario
