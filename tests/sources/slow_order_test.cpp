// The slow order: the whole form with the two slowdowns and its legend.
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

// An empty row of the slowdown table.
constexpr std::string_view vuota =
    " |   |                            |            |          |         |            |";

// The document line by line, with the length of each line.
const std::vector<riga_contata>& righe_attese() {
    static const std::vector<riga_contata> righe = {
        {0, ""},
        {42, "                               Modulo M. 3"},
        {50, "                           ORDINE DI RALLENTAMENTO"},
        {81, " ________________________________________________________________________________"},
        {30, "  Linea  Calvena - Roccalba T."},
        {0, ""},
        {80, "  Si ordina al macchinista del treno 4127 di effettuare i seguenti rallentamenti"},
        {81, "  _______________________________________________________________________________"},
        {82, " |   |                            |Inizio dopo |          |         |            |"},
        {82, " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|"},
        {82, " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |"},
        {82, " |___|____________________________|____________|__________|_________|____________|"},
        {82, vuota},
        {82, " | 1 |  Corbezzi - Castagno       |     52     |    30    |   300   |   ---      |"},
        {82, vuota},
        {82, " | 2 | Molino del Pallone -       |            |          |         |            |"},
        {82, " |   |   - Ponte della Venturina  |     67     |    30    |  1000   |   ---      |"},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, vuota},
        {82, " |___|____________________________|____________|__________|_________|____________|"},
        {0, ""},
        {37, "              Prescrizioni specifiche"},
        {63, " A - Da rispettare con tutto il treno (per i treni viaggiatori)"},
        {42, " B - Interessa anche la stazione di......."},
        {49, " D - Rallentamento N. ... e N. ...  sono contigui"},
        {58, " C - Da rispettare dalle ore ....  alle ore ..... di tutti"},
        {42, "     i giorni esclusi i seguenti:........."},
    };
    return righe;
}

TEST(SlowOrder, WritesEveryLineWithItsListedLength) {
    const std::string testo = testo_lista(sorgenti::righe_rallentamenti());
    const auto attese = prove::confronta_righe_contate(testo, righe_attese());
    prove::confronta_righe(testo, attese);
}

}  // namespace
}  // namespace scenario
