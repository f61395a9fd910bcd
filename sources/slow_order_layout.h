// The slow order's layout from plain data: the form with its head, 21 body
// rows and closing rule, then the legend of the special prescriptions.
#pragma once

#include "common/line_list.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario::sorgenti {

struct slow_order_entry {
    std::string from;                // the station before it, or the one it lies in
    std::string to;                  // the station after it; empty: "in the station of" `from`
    std::optional<int32_t> km_post;  // the post after which it begins, whole kilometres
    int32_t speed = 0;               // km/h
    int32_t length = 0;              // metres
    std::string prescriptions = "---";
};

struct slow_order {
    std::string line_name;  // after "Linea"
    std::string train;
    std::vector<slow_order_entry> entries;
};

// The table's rows per form. Each entry takes an empty row and then one row,
// or two when its stations do not fit the column; entries that do not fit
// the form go on to another form, laid out the same.
inline constexpr int slow_order_body_rows = 21;

// The slow order's lines, closed by the end marker.
lista_righe slow_order_lines(const slow_order& order);

// The column "FRA LE STAZIONI" of one entry: one row, or two when the names
// do not fit.
std::vector<std::string> slow_order_stations(const slow_order_entry& e);

}  // namespace scenario::sorgenti
