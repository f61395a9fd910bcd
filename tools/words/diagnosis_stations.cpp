// The errors about stations: position and area, how many, how close.
#include "compiler/route_facts.h"
#include "tools/words/diagnosis_composer.h"

#include <algorithm>
#include <string>

namespace scenario::tool::composing {

std::optional<std::string> composer::station_message() {
    switch (e_->code) {
        case error_code::station_position_not_on_50:
            return who("station") + ": its position is not a multiple of 50";
        case error_code::station_area_not_on_100: {
            const std::optional<int32_t> l = number_field(e_->place, 3);
            return who("station") + ": its area length" + (l ? ", " + metres(*l) + "," : std::string()) +
                   " is not a multiple of 100";
        }
        case error_code::too_many_stations:
            return too_many_stations();
        case error_code::stations_too_close:
            return stations_too_close();
        case error_code::stop_cell_too_early: {
            std::string t = who("station") + ": its stop cell would lie at or before cell 1";
            if (e_->cell)
                t += " (cell " + std::to_string(*e_->cell) + ")";
            return t + "; the station area must end beyond 100 m";
        }
        default:
            return std::nullopt;
    }
}

std::string composer::too_many_stations() const {
    // The boards' records are the ones read from a tunnel-name board line.
    int32_t boards = 0;
    for (const source_place& o : log_.record_origins)
        if (o.known && o.item == line_item::tunnel_board)
            ++boards;
    return who("station") + ": one station too many: stations and the " + std::to_string(boards) +
           " tunnel-name boards share the records 1 to 80, so at most " + std::to_string(78 - boards) +
           " stations fit";
}

std::string composer::stations_too_close() {
    for (int i = prima_voce_cartelli - 1; i >= 2; --i) {
        const source_place& o = log_.record_origins[static_cast<std::size_t>(i)];
        if (!o.known || !e_->place.known || o.source != e_->place.source || o.line != e_->place.line)
            continue;
        const voce& v = s_.voci[static_cast<std::size_t>(i)];
        const voce& previous = s_.voci[static_cast<std::size_t>(i - 1)];
        const int64_t gap = int64_t{route::area_start(v)} - route::area_end(previous);
        add_related(log_.record_origins[static_cast<std::size_t>(i - 1)],
                    "the previous station" +
                        (previous.testo.empty() ? std::string() : ", " + previous.testo + ",") +
                        " whose area ends at " + metres(route::area_end(previous)));
        std::string t = who("station") + ": its area starts at " + metres(route::area_start(v)) + ", ";
        t += gap >= 0 ? "only " + metres(gap) + " after" : "before";
        t += " the area of the previous station" +
             (previous.testo.empty() ? std::string() : ", " + previous.testo + ",") + " ends (" +
             metres(route::area_end(previous)) + "); 350 m are needed between them";
        return t;
    }
    return who("station") + ": its area starts less than 350 m after the previous station's area ends";
}

}  // namespace scenario::tool::composing
