// The train card's layout from plain data: the title boxes, the
// classification and braked-mass boxes and the seven-column timetable.
#pragma once

#include "common/line_list.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario::sorgenti {

// One timetable row. Times are seconds after midnight; the card writes them
// as hours.minutes (hours in two places), with "+" for the half minute
// (seconds 30 to 59), and takes hours past 24 round the clock.
struct card_row {
    std::string speed;                 // first column ("80"), empty for none
    std::optional<int32_t> km_metres;  // the kilometre point, in metres
    std::string name;                  // the station as the card spells it
    std::optional<int32_t> arrival;    // at the left of the times
    std::optional<int32_t> passing;    // a passing time, centred
    std::optional<int32_t> departure;  // at the right of the times
};

struct train_card {
    std::string train;           // "4127"
    std::string origin;          // after "da:"
    std::string destination;     // after "a:"
    std::string speed_category;  // "V160 B"
    std::string braking;         // "120%"
    std::string classification;  // "REGIONALE"
    std::string braked_mass;     // "250T"
    std::vector<card_row> rows;
};

// The card's lines, closed by the end marker.
lista_righe card_lines(const train_card& card);

// A time as the card writes it: "16.42+" for 16:42:30.
std::string card_time(int32_t seconds);

// The widths of the timetable's seven fields, between the bars.
inline constexpr int card_field_widths[7] = {5, 5, 10, 5, 28, 16, 5};

}  // namespace scenario::sorgenti
