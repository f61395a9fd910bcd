// Warnings about a line's values: how each was read, what the compiled fields
// keep of them, the values the compiler replaces, a position in the run-off.
#include "compiler/low_bits.h"
#include "compiler/warning_walk.h"
#include "compiler/warnings.h"

#include <cmath>
#include <limits>
#include <string_view>

namespace scenario::warning_walk {

namespace {

// True when `t` holds a byte sequence of UTF-8 beyond ASCII, and nothing that
// is not UTF-8.
bool looks_utf8(std::string_view t) {
    bool multibyte = false;
    for (std::size_t i = 0; i < t.size();) {
        const auto c = static_cast<unsigned char>(t[i]);
        std::size_t n = 0;
        if (c < 0x80)
            n = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            n = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            n = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            n = 3;
        else
            return false;
        if (n > 0 && i + n >= t.size())
            return false;
        for (std::size_t k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(t[i + k]) & 0xC0) != 0x80)
                return false;
        multibyte = multibyte || n > 0;
        i += n + 1;
    }
    return multibyte;
}

// Items that stand at one place (profiles run on to the end of the route by design).
bool positioned(line_item item) {
    switch (item) {
        case line_item::curve:
        case line_item::tunnel:
        case line_item::speed_board:
        case line_item::tunnel_board:
        case line_item::signal:
        case line_item::slowdown:
        case line_item::abbattimento:
        case line_item::station:
            return true;
        default:
            return false;
    }
}

// The maximum-speed board line as the program writes it leaves its right-hand
// speeds empty.
bool empty_by_design(const keyword_row& row, int32_t value_index) {
    return row.id == keyword::speed_board && value_index >= 5 && value_index <= 7;
}

bool fits16(int64_t v) {
    return v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
}

}  // namespace

// A value that was no number or empty (read as 0), a text written as UTF-8.
void source_walk::check_readings(const keyword_row& row, std::span<const field_record> values,
                                 std::size_t first_index) {
    for (std::size_t j = 0; j < values.size(); ++j) {
        const field_record& x = values[j];
        const auto index = static_cast<int32_t>(j);
        if (x.reading == field_reading::not_a_number ||
            (x.reading == field_reading::empty_as_zero && !empty_by_design(row, index))) {
            logged_warning w = at_field(x.reading == field_reading::not_a_number ? warning_code::not_a_number
                                                                                 : warning_code::empty_value,
                                        first_index + j);
            w.row = &row;
            w.value_index = index;
            note_warning(&log_, w);
        }
        if (x.width == field_width::text && x.role == field_role::value && looks_utf8(x.text)) {
            logged_warning w = at_field(warning_code::not_windows_1252, first_index + j);
            w.row = &row;
            w.value_index = index;
            note_warning(&log_, w);
        }
    }
}

// What the compiled fields keep of a line's values: a value that wraps, a
// tunnel that ends before it starts, a slowdown without length.
void source_walk::check_stored(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                               std::size_t first_index) {
    const auto wrapped = [&](int32_t index, int64_t value, int64_t stored) {
        logged_warning w =
            at_field(warning_code::value_wrapped, first_index + static_cast<std::size_t>(index));
        w.row = &row;
        w.value_index = index;
        w.value = value;
        w.stored = stored;
        note_warning(&log_, w);
    };
    const auto value = [&](std::size_t j) { return v[j].value_or(0); };
    // A value packed with others into one 16-bit field: `total` is the pack.
    const auto packed = [&](int32_t index, int64_t total) {
        if (fits16(total))
            return;
        logged_warning w =
            at_field(warning_code::value_wrapped, first_index + static_cast<std::size_t>(index));
        w.row = &row;
        w.value_index = index;
        w.value = value(static_cast<std::size_t>(index));
        w.stored = basso16(total);
        w.other_value = total;
        note_warning(&log_, w);
    };
    switch (row.id) {
        case keyword::speed_limit:
            check_speed(row, 1, value(1), first_index);
            break;
        case keyword::speed_board:
            for (int32_t j : {5, 6, 7})
                check_speed(row, j, value(static_cast<std::size_t>(j)), first_index);
            packed(4, 10 * value(4) + value(8));  // dato4 = 10 strisces + strisced
            break;
        case keyword::curve:
            check_curve(row, value(0), value(1), first_index);
            break;
        case keyword::clock:
        case keyword::station:
            check_time(row, v, first_index);
            break;
        case keyword::gradient:
            if (value(1) < -100 || value(1) > 155)
                wrapped(1, value(1), basso8(value(1) + 100) - 100);
            break;
        case keyword::adhesion:
            if (value(1) < 0 || value(1) > 255)
                wrapped(1, value(1), basso8(value(1)));
            break;
        case keyword::tunnel: {
            if (value(1) <= value(0)) {
                logged_warning w = at_field(warning_code::tunnel_end, first_index + 1);
                w.row = &row;
                w.value = value(0);
                w.stored = value(1);
                note_warning(&log_, w);
            }
            const int64_t tipo = value(2) > 10 ? value(2) - 10 : value(2);
            if (tipo < 0 || tipo > 255)
                wrapped(2, value(2), basso8(tipo));
            check_tunnel(row, value(0), value(1), value(2), first_index);
            break;
        }
        case keyword::slowdown:
            if (value(2) <= 0) {
                logged_warning w = at_field(warning_code::slowdown_length, first_index + 2);
                w.row = &row;
                w.value = value(2);
                note_warning(&log_, w);
            }
            for (int32_t j : {1, 3, 5})
                if (!fits16(value(static_cast<std::size_t>(j))))
                    wrapped(j, value(static_cast<std::size_t>(j)),
                            basso16(value(static_cast<std::size_t>(j))));
            break;
        case keyword::abbattimento:
            if (value(1) > 0 && !fits16(value(1)))
                wrapped(1, value(1), basso16(value(1)));
            break;
        case keyword::signal: {
            // Fields packed in 16 bits: dato4 = 10 rapp + 3 sx + dx, dato1..3 = 10 s + d.
            packed(1, 10 * value(5) + 3 * value(1) + value(6));
            for (int32_t j : {2, 3, 4})
                packed(j, 10 * value(static_cast<std::size_t>(j)) + value(static_cast<std::size_t>(j + 5)));
            int64_t tempo = value(10);
            if (tempo >= 1 && tempo <= 100)
                tempo = 101;
            if (value(1) == 2 && (tempo < 0 || tempo > 255))
                wrapped(10, value(10), basso8(tempo));
            break;
        }
        default:
            break;
    }
}

// A position beyond the route length lies in the run-off after it.
void source_walk::check_run_off(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                                std::size_t first_index) {
    const int64_t route = s_.voci[voce_treno].valore2;
    if (positioned(row.item) && s_.lunghezza_estesa > 0 && v[0] && *v[0] > route) {
        logged_warning w = at_field(warning_code::in_run_off, first_index);
        w.row = &row;
        w.value = *v[0];
        w.stored = route;
        note_warning(&log_, w);
    }
}

// A speed that a compiled field keeps in fifths of km/h: one that is not a
// multiple of 5 is rounded (halves to even) to the nearest multiple.
void source_walk::check_speed(const keyword_row& row, int32_t index, int64_t speed, std::size_t first_index) {
    if (speed % 5 == 0)
        return;
    logged_warning w = at_field(warning_code::speed_rounded, first_index + static_cast<std::size_t>(index));
    w.row = &row;
    w.value_index = index;
    w.value = speed;
    w.stored = static_cast<int64_t>(std::nearbyint(static_cast<double>(speed) / 5.0)) * 5;
    note_warning(&log_, w);
}

// Values the compiler replaces or leaves out by rule: a signal's time (kept
// only with sx 2, and 1 to 100 kept as 101), a slowdown's approach flag at
// 1500 m or less (no advance cell there), a station's byte5 (0 for areas under
// 600 m and for the first station) and byte4 (0 for kinds 5 to 8 and for the
// first station). `stored` is what is kept.
void source_walk::check_ignored(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                                std::size_t first_index) {
    const auto value = [&](std::size_t j) { return v[j].value_or(0); };
    const auto ignored = [&](int32_t index, int64_t stored) {
        logged_warning w =
            at_field(warning_code::value_ignored, first_index + static_cast<std::size_t>(index));
        w.row = &row;
        w.value_index = index;
        w.value = value(static_cast<std::size_t>(index));
        w.stored = stored;
        note_warning(&log_, w);
    };
    switch (row.id) {
        case keyword::signal:
            if (value(1) != 2 && value(10) != 0)
                ignored(10, 0);
            else if (value(1) == 2 && value(10) >= 1 && value(10) <= 100)
                ignored(10, 101);
            break;
        case keyword::slowdown:
            if (value(0) <= 1500 && value(4) != 0)
                ignored(4, 0);
            break;
        case keyword::station: {
            const bool first_station = stations_ == 0;
            if (value(4) != 0 && (first_station || value(2) < 600))
                ignored(4, 0);
            if (value(5) != 0 && (first_station || (value(1) >= 5 && value(1) <= 8)))
                ignored(5, 0);
            break;
        }
        default:
            break;
    }
}

}  // namespace scenario::warning_walk
