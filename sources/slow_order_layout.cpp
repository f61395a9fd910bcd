#include "sources/slow_order_layout.h"

#include "sources/text_fields.h"

namespace scenario::sorgenti {

namespace {

constexpr std::size_t stations_width = 28;
const char* const empty_row =
    " |   |                            |            |          |         |            |";
const char* const closing_rule =
    " |___|____________________________|____________|__________|_________|____________|";

std::string row(const std::string& number, const std::string& stations, const slow_order_entry* values) {
    std::string line = " |" + field_right(number, 2, 3) + "|" + stations + "|";
    if (values == nullptr)
        return line + "            |          |         |            |";
    line += field_centred(values->km_post ? std::to_string(*values->km_post) : "", 12) + "|";
    line += field_centred(std::to_string(values->speed), 10) + "|";
    line += field_centred(std::to_string(values->length), 9) + "|";
    return line + field_at(values->prescriptions, 3, 12) + "|";
}

void form_head(lista_righe& l, const slow_order& o) {
    l.emplace_back("");
    l.emplace_back("                               Modulo M. 3");
    l.emplace_back("                           ORDINE DI RALLENTAMENTO");
    l.emplace_back(" ________________________________________________________________________________");
    l.push_back("  Linea  " + o.line_name);
    l.emplace_back("");
    l.push_back("  Si ordina al macchinista del treno " + o.train +
                " di effettuare i seguenti rallentamenti");
    l.emplace_back("  _______________________________________________________________________________");
    l.emplace_back(" |   |                            |Inizio dopo |          |         |            |");
    l.emplace_back(" | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|");
    l.emplace_back(" |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |");
    l.emplace_back(" |___|____________________________|____________|__________|_________|____________|");
}

void form_end(lista_righe& l, int used) {
    for (; used < slow_order_body_rows; ++used)
        l.emplace_back(empty_row);
    l.emplace_back(closing_rule);
}

}  // namespace

std::vector<std::string> slow_order_stations(const slow_order_entry& e) {
    const std::string both = e.to.empty() ? e.from : e.from + " - " + e.to;
    if (e.to.empty() || 2 + both.size() <= stations_width)
        return {field_at(both, 2, stations_width)};
    return {field_at(e.from + " -", 1, stations_width), field_at("- " + e.to, 3, stations_width)};
}

lista_righe slow_order_lines(const slow_order& o) {
    lista_righe l;
    form_head(l, o);
    int used = 0;
    for (std::size_t n = 0; n < o.entries.size(); ++n) {
        const slow_order_entry& e = o.entries[n];
        const std::vector<std::string> names = slow_order_stations(e);
        const int needed = 1 + static_cast<int>(names.size());
        if (used > 0 && used + needed > slow_order_body_rows) {
            form_end(l, used);
            form_head(l, o);
            used = 0;
        }
        l.emplace_back(empty_row);
        const std::string number = std::to_string(n + 1);
        for (std::size_t r = 0; r < names.size(); ++r) {
            const bool last = r + 1 == names.size();
            l.push_back(row(r == 0 ? number : "", names[r], last ? &e : nullptr));
        }
        used += needed;
    }
    form_end(l, used);
    l.emplace_back("");
    l.emplace_back("              Prescrizioni specifiche");
    l.emplace_back(" A - Da rispettare con tutto il treno (per i treni viaggiatori)");
    l.emplace_back(" B - Interessa anche la stazione di.......");
    l.emplace_back(" D - Rallentamento N. ... e N. ...  sono contigui");
    l.emplace_back(" C - Da rispettare dalle ore ....  alle ore ..... di tutti");
    l.emplace_back("     i giorni esclusi i seguenti:.........");
    l.emplace_back(marcatore_fine);
    return l;
}

}  // namespace scenario::sorgenti
