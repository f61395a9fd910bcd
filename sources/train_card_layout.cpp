#include "sources/train_card_layout.h"

#include "sources/text_fields.h"

#include <cstdio>

namespace scenario::sorgenti {

std::string card_time(int32_t seconds) {
    constexpr int32_t day = 24 * 3600;
    int32_t t = seconds % day;
    if (t < 0)
        t += day;
    char text[16];
    std::snprintf(text, sizeof text, "%2d.%02d%s", t / 3600, t / 60 % 60, t % 60 >= 30 ? "+" : "");
    return text;
}

namespace {

std::string km_text(int32_t metres) {
    char text[24];
    const char* sign = metres < 0 ? "-" : "";
    const int64_t m = metres < 0 ? -int64_t{metres} : metres;
    std::snprintf(text, sizeof text, "%s%lld.%03lld", sign, static_cast<long long>(m / 1000),
                  static_cast<long long>(m % 1000));
    return text;
}

// The times field: arrival from the second character, a passing time from the
// seventh, departure from the eleventh.
std::string times_field(const card_row& r) {
    std::string f(16, ' ');
    auto put = [&f](std::size_t at, const std::string& t) { f.replace(at, t.size(), t); };
    if (r.arrival)
        put(1, card_time(*r.arrival).substr(0, 9));
    if (r.passing)
        put(6, card_time(*r.passing).substr(0, 10));
    if (r.departure)
        put(10, card_time(*r.departure).substr(0, 6));
    return f;
}

std::string timetable_row(const card_row& r) {
    const std::string fields[7] = {
        field_right(r.speed, 4, 5),
        std::string(5, ' '),
        field_right(r.km_metres ? km_text(*r.km_metres) : "", 8, 10),
        std::string(5, ' '),
        field_at(r.name, 1, 28),
        times_field(r),
        std::string(5, ' '),
    };
    std::string line = " |";
    for (const std::string& f : fields)
        line += f + "|";
    return line;
}

}  // namespace

lista_righe card_lines(const train_card& c) {
    lista_righe l;
    const std::string rule =
        " |_____|_____|__________|_____|____________________________|________________|_____|";
    l.emplace_back("");
    l.emplace_back("");
    l.emplace_back("  ___________________                                               ______________");
    l.emplace_back(" |                   |                    SCHEDA                   |              |");
    l.push_back(" |" + field_centred("TRENO n. " + c.train, 19) + "|" + field_at("da: " + c.origin, 19, 45) +
                "|" + field_centred(c.speed_category, 14) + "|");
    l.push_back(" |___________________|" + field_at("a: " + c.destination, 20, 45) + "|" +
                field_centred(c.braking, 14) + "|");
    l.emplace_back("                                                                   |______________|");
    l.emplace_back("  ___________________                ___________________");
    l.emplace_back(" |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ");
    l.push_back(" |" + field_at(c.classification, 4, 19) + "|              |" +
                field_at(c.braked_mass, 6, 19) + "|");
    l.emplace_back(" |___________________|              |___________________|");
    l.emplace_back("");
    l.emplace_back("  ________________________________________________________________________________");
    l.emplace_back(" | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |");
    l.emplace_back(" | Lim.|Marc.|          |  Rs |                            |                |     |");
    l.push_back(rule);
    for (const card_row& r : c.rows)
        l.push_back(timetable_row(r));
    l.push_back(rule);
    l.emplace_back("");
    l.emplace_back("Nota: Nella colonna Orario il simbolo '+' indica 'mezzo minuto'.");
    l.emplace_back(marcatore_fine);
    return l;
}

}  // namespace scenario::sorgenti
