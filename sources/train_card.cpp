// The train card the driver reads: train and route boxes, classification
// and braked mass, and the timetable with kilometre points and times.
#include "sources/train_card_layout.h"
#include "sources/writers.h"

namespace scenario::sorgenti {

namespace {

constexpr int32_t at(int32_t hours, int32_t minutes, int32_t seconds = 0) {
    return hours * 3600 + minutes * 60 + seconds;
}

card_row passed(int32_t km, const char* name, int32_t time) {
    return {"", km, name, std::nullopt, time, std::nullopt};
}

card_row stop(int32_t km, const char* name, int32_t arrival, int32_t departure) {
    return {"", km, name, arrival, std::nullopt, departure};
}

}  // namespace

train_card program_train_card() {
    train_card c{"4127", "CALVENA", "ROCCALBA T.", "V160 B", "120%", "REGIONALE", "250T", {}};
    c.rows = {
        {"80", 33570, "CALVENA", std::nullopt, std::nullopt, at(16, 20)},
        passed(35330, "CALVENA OVEST", at(16, 22)),
        passed(38800, "Valdibrana", at(16, 25)),
        passed(45100, "Piteccio", at(16, 30)),
        stop(51080, "CORBEZZI", at(16, 36), at(16, 37)),
        passed(53440, "CASTAGNO", at(16, 40)),
        stop(55440, "SAN MOMME'", at(16, 42, 30), at(16, 43)),
        stop(58600, "PRACCHIA", at(16, 46), at(16, 47)),
        passed(63670, "BIAGIONI-LAGACCI", at(16, 52)),
        stop(65710, "MOLINO DEL PALLONE", at(16, 55), at(16, 56)),
        stop(69890, "PONTE DELLA VENTURINA", at(17, 1, 30), at(17, 2)),
        {"", 73370, "ROCCALBA TERME", at(17, 8), std::nullopt, std::nullopt},
    };
    return c;
}

lista_righe righe_scheda() {
    return card_lines(program_train_card());
}

}  // namespace scenario::sorgenti
