// The run description of train 4127: the train, the adhesion and speed
// profiles, the twelve stations with their times, the two slowdowns and the
// twelve signals. The compiler reads it back field by field and deletes it,
// so blanks between fields are free; line 5 gives its three clock numbers
// separated by blanks alone.
#include "sources/fixed_lines.h"
#include "sources/writers.h"

#include <string_view>

namespace scenario::sorgenti {
namespace {

constexpr std::string_view righe[] = {
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

}  // namespace

lista_righe righe_treno() {
    return lista_con_marcatore(righe);
}

}  // namespace scenario::sorgenti
