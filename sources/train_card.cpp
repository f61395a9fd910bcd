// The train card the driver reads: train and route boxes, classification
// and braked mass, and the timetable with kilometre points and times.
#include "sources/fixed_lines.h"
#include "sources/writers.h"

#include <string_view>

namespace scenario::sorgenti {
namespace {

constexpr std::string_view righe[] = {
    "",
    "",
    "  ___________________                                               ______________",
    " |                   |                    SCHEDA                   |              |",
    " |   TRENO n. 4127   |                   da: CALVENA               |    V160 B    |",
    " |___________________|                    a: ROCCALBA T.           |     120%     |",
    "                                                                   |______________|",
    "  ___________________                ___________________",
    " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
    " |    REGIONALE      |              |      250T         |",
    " |___________________|              |___________________|",
    "",
    "  ________________________________________________________________________________",
    " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
    " | Lim.|Marc.|          |  Rs |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    " |  80 |     |  33.570  |     | CALVENA                    |          16.20 |     |",
    " |     |     |  35.330  |     | CALVENA OVEST              |      16.22     |     |",
    " |     |     |  38.800  |     | Valdibrana                 |      16.25     |     |",
    " |     |     |  45.100  |     | Piteccio                   |      16.30     |     |",
    " |     |     |  51.080  |     | CORBEZZI                   | 16.36    16.37 |     |",
    " |     |     |  53.440  |     | CASTAGNO                   |      16.40     |     |",
    " |     |     |  55.440  |     | SAN MOMME'                 | 16.42+   16.43 |     |",
    " |     |     |  58.600  |     | PRACCHIA                   | 16.46    16.47 |     |",
    " |     |     |  63.670  |     | BIAGIONI-LAGACCI           |      16.52     |     |",
    " |     |     |  65.710  |     | MOLINO DEL PALLONE         | 16.55    16.56 |     |",
    " |     |     |  69.890  |     | PONTE DELLA VENTURINA      | 17.01+   17.02 |     |",
    " |     |     |  73.370  |     | ROCCALBA TERME             | 17.08          |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    "",
    "Nota: Nella colonna Orario il simbolo '+' indica 'mezzo minuto'.",
};

}  // namespace

lista_righe righe_scheda() {
    return lista_con_marcatore(righe);
}

}  // namespace scenario::sorgenti
