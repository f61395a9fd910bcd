// The program's own sources changed to show where the stations of a compiled
// route are hard to tell: shared by the tests of the page and of the drawing.
#pragma once

#include "common/line_list.h"
#include "sources/writers.h"

#include <string>
#include <vector>

namespace scenario::test_support {

// The program's twelve stations, in order.
inline const std::vector<std::string>& program_stations() {
    static const std::vector<std::string> names = {"CALVENA",
                                                   "CALVENA OVEST",
                                                   "VALDIBRANA",
                                                   "PITECCIO",
                                                   "CORBEZZI",
                                                   "CASTAGNO",
                                                   "S.MOMME'",
                                                   "PRACCHIA",
                                                   "BIAGIONI LAGACCI",
                                                   "MOLINO DEL PALLONE",
                                                   "PONTE DELLA VENTURINA",
                                                   "ROCCALBA TERME"};
    return names;
}

// The line description with 25 more tunnel-name boards: 68 boards take the
// records 80 down to 13; the eleventh station fills record 11 and then fails
// (error 10: the station counter reached the board records).
inline std::string line_with_boards_filling_the_records() {
    std::string extra;
    for (int i = 0; i < 25; ++i)
        extra += "cartello_indicatore,  " + std::to_string(500 + i * 50) + ",   (EXTRA" + std::to_string(i) +
                 ")\r\n";
    std::string line = testo_lista(sorgenti::righe_linea());
    return line.insert(line.find("[fine]"), extra);
}

// The run description with an all-zero station second: its record stays all
// zero, and its stop cell, cell -1, fails (error 24).
inline std::string run_with_an_all_zero_station() {
    std::string run = testo_lista(sorgenti::righe_treno());
    const std::size_t second = run.find("stazione,    1800");
    return run.insert(second, "stazione, 0, 0, 0, 0, 0, 0, 0,0,0, 0,0,0, 0, 0, 0, 0, \r\n");
}

// The line description with a route length that is no multiple of 50.
inline std::string line_of_40020_metres() {
    std::string line = testo_lista(sorgenti::righe_linea());
    const std::string length = "lunghezza percorso,    40000";
    return line.replace(line.find(length), length.size(), "lunghezza percorso,    40020");
}

}  // namespace scenario::test_support
