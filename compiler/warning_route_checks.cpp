// Warnings about the items along the route: tunnels, curves, station times,
// settings given again, positions taken to a cell boundary, progressives.
#include "compiler/cell_rules.h"
#include "compiler/text_case.h"
#include "compiler/warning_walk.h"
#include "compiler/warnings.h"

#include <algorithm>
#include <cmath>

namespace scenario::warning_walk {

// Tunnels are recorded in file order: a later tunnel's class overwrites an
// earlier one's in the cells they share, and a tunnel that starts 150 m or
// less after the previous line's end takes class 3 (so does one that lies
// before it).
void source_walk::check_tunnel(const keyword_row& row, int64_t inizio, int64_t fine, int64_t tipo,
                               std::size_t first_index) {
    if (static_cast<double>(inizio + 100) / 50.0 > s_.n_celle || inizio < 0)
        return;  // not recorded: the reading stopped here
    const int64_t first_cell = route::item_cell(line_item::tunnel, inizio);
    const int64_t last_cell = route::tunnel_last_cell(fine);
    const int64_t written_class = tipo > 10 ? tipo - 10 : tipo;
    const tunnel_seen* previous = tunnels_.empty() ? nullptr : &tunnels_.back();
    const bool made_class_3 = previous != nullptr && inizio - previous->fine <= 150 && written_class != 3;
    const tunnel_seen* shared = nullptr;
    if (last_cell >= first_cell)
        for (const tunnel_seen& t : tunnels_)
            if (shared == nullptr && t.last_cell >= t.first_cell && first_cell <= t.last_cell &&
                t.first_cell <= last_cell)
                shared = &t;
    const tunnel_seen* other = shared;
    if (other == nullptr && previous != nullptr && inizio < previous->inizio)
        other = previous;
    if (other != nullptr) {
        logged_warning w = at_field(
            shared != nullptr ? warning_code::tunnel_overlap : warning_code::tunnel_order, first_index, 2);
        w.row = &row;
        w.value = inizio;
        w.stored = fine;
        w.other_value = made_class_3 ? 1 : 0;  // its class became 3
        w.other = other->place;
        note_warning(&log_, w);
    }
    // Class 0 is what cells outside tunnels hold: such a tunnel leaves no class.
    const bool class_3 = previous != nullptr && inizio - previous->fine <= 150;
    if (written_class == 0 && !class_3 && last_cell >= first_cell) {
        logged_warning w = at_field(warning_code::value_ignored, first_index + 2);
        w.row = &row;
        w.value_index = 2;
        w.value = tipo;
        note_warning(&log_, w);
    }
    tunnels_.push_back({inizio, fine, first_cell, last_cell, keyword_place(row)});
}

// The track plan is built metre by metre: a curve that starts before the
// point the previous curve reached bends only from there.
void source_walk::check_curve(const keyword_row& row, int64_t start, int64_t length,
                              std::size_t first_index) {
    if (static_cast<double>(start + 100) / 50.0 > s_.n_celle)
        return;  // not read: the reading stopped here
    const int64_t reached = plan_index_;
    if (length <= 0) {
        logged_warning w = at_field(warning_code::curve_length, first_index + 1);
        w.row = &row;
        w.value = length;
        note_warning(&log_, w);
    } else if (reached > start + 1 && last_curve_.known) {
        logged_warning w = at_field(warning_code::curve_overlap, first_index, 2);
        w.row = &row;
        w.value = start;
        w.stored = reached - 1;  // the last point the previous curve set
        w.other_value = start + length;
        w.other = last_curve_;
        note_warning(&log_, w);
    }
    plan_index_ = std::max({plan_index_, start + 1, start + length + 1});
    last_curve_ = keyword_place(row);
}

// Hours, minutes and seconds of the clock and of a station: each within a
// day, and station times that do not go back. A station with time 0 is
// passed and has no time; a time more than 12 hours before the previous one
// is taken as the next day's (the run went past midnight).
void source_walk::check_time(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                             std::size_t first_index) {
    const std::size_t h = row.id == keyword::station ? 13 : 0;
    const int64_t hours = v[h].value_or(0);
    const int64_t minutes = v[h + 1].value_or(0);
    const int64_t seconds = v[h + 2].value_or(0);
    const int64_t total = static_cast<int32_t>(static_cast<uint32_t>(hours * 3600 + minutes * 60 + seconds));
    const std::array<std::pair<int64_t, int64_t>, 3> limits = {{{hours, 23}, {minutes, 59}, {seconds, 59}}};
    for (std::size_t k = 0; k < limits.size(); ++k) {
        if (limits[k].first >= 0 && limits[k].first <= limits[k].second)
            continue;
        logged_warning w = at_field(warning_code::time_out_of_range, first_index + h + k);
        w.row = &row;
        w.value_index = static_cast<int32_t>(h + k);
        w.value = limits[k].first;
        w.stored = total;
        note_warning(&log_, w);
        break;
    }
    if (row.id != keyword::station || total == 0)
        return;
    constexpr int64_t half_day = 12 * 3600;
    if (last_time_ && total < *last_time_ && *last_time_ - total <= half_day) {
        logged_warning w = at_field(warning_code::time_backwards, first_index + h, 3);
        w.row = &row;
        w.value = total;
        w.other_value = *last_time_;
        w.other = last_timed_;
        note_warning(&log_, w);
    }
    last_time_ = total;
    last_timed_ = keyword_place(row);
}

// A line that sets one value of the scenario (the route length, a
// progressive, the train's make-up, the clock ...): a second one replaces
// what the first one set.
void source_walk::check_repeated(const keyword_row& row) {
    switch (row.item) {
        case line_item::route_length:
        case line_item::progressive:
        case line_item::scenery:
        case line_item::signal_repetition:
        case line_item::braked_mass:
        case line_item::coaches:
        case line_item::clock:
        case line_item::sand:
            break;
        default:
            return;
    }
    for (auto& [id, place] : settings_) {
        if (id != row.id)
            continue;
        logged_warning w = at_field(warning_code::repeated_setting, keyword_);
        w.row = &row;
        w.other = place;
        note_warning(&log_, w);
        place = keyword_place(row);
        return;
    }
    settings_.emplace_back(row.id, keyword_place(row));
}

// A position that picks a cell: one that is not a multiple of 50 is taken to
// `taken_to`, the cell boundary the compiler's rounding gives.
void source_walk::check_cell_position(const keyword_row& row, int32_t index, int64_t position,
                                      int64_t taken_to, std::size_t first_index) {
    if (position == taken_to)
        return;
    logged_warning w =
        at_field(warning_code::position_rounded, first_index + static_cast<std::size_t>(index));
    w.row = &row;
    w.value_index = index;
    w.value = position;
    w.stored = taken_to;
    note_warning(&log_, w);
}

void source_walk::check_positions(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                                  std::size_t first_index) {
    const auto value = [&](std::size_t j) { return v[j].value_or(0); };
    // Where the position of a line's item is taken: the start of the cell it
    // falls in, or of the one before the cell it stands in after it.
    const auto taken_to = [&](int64_t position) {
        const int64_t cell = route::item_cell(row.item, position);
        return route::cell_span(route::stands_after_position(row.item) ? cell - 1 : cell).from;
    };
    switch (row.id) {
        case keyword::speed_limit:
        case keyword::adhesion:
        case keyword::gradient:
        case keyword::abbattimento:
        case keyword::speed_board:
        case keyword::tunnel_board:
        case keyword::signal:
            check_cell_position(row, 0, value(0), taken_to(value(0)), first_index);
            break;
        case keyword::tunnel:
            check_cell_position(row, 0, value(0), taken_to(value(0)), first_index);
            check_cell_position(row, 1, value(1), route::cell_span(route::tunnel_last_cell(value(1))).to,
                                first_index);
            break;
        case keyword::slowdown:
            check_cell_position(row, 0, value(0), taken_to(value(0)), first_index);
            if (value(0) % 50 == 0)  // the end then moves only for the length
                check_cell_position(row, 2, value(0) + value(2), taken_to(value(0) + value(2)), first_index);
            break;
        default:
            break;
    }
}

// The ordering of the three kilometric progressives stores all nine values
// as 0 when no start (valore1) is strictly the largest, or, with starts that
// add up to 0, when no end (valore2) is above 0. Noted at the first line
// that gave a value.
void source_walk::check_progressives() {
    // Per progressive, the last line read (the one whose values were ordered).
    std::array<int64_t, 3> starts{};
    std::array<std::size_t, 3> last_line = {end_, end_, end_};
    for (std::size_t i = first_; i < end_; ++i) {
        if (f(i).role != field_role::keyword)
            continue;
        const std::string lowered = lower_ascii(f(i).text);
        const std::span<const field_record> line = fields_of_line(log_, static_cast<int32_t>(i));
        const std::array<keyword, 3> ids = {keyword::progressive_three, keyword::progressive_two,
                                            keyword::progressive_one};
        for (std::size_t k = 0; k < ids.size(); ++k) {
            if (!keyword_info(ids[k]).matches(f(i).text, lowered, true) || line.size() < 4)
                continue;
            starts[k] = line[1].value;
            last_line[k] = line[1].value != 0 || line[2].value != 0 || line[3].value != 0 ? i : end_;
        }
    }
    const std::size_t first_given = *std::min_element(last_line.begin(), last_line.end());
    if (first_given == end_)
        return;
    for (int slot : {voce_progressiva_tre, voce_progressiva_due, voce_progressiva_uno}) {
        const voce& p = s_.voci[static_cast<std::size_t>(slot)];
        if (p.valore1 != 0 || p.valore2 != 0 || p.valore3 != 0)
            return;
    }
    logged_warning w = at_field(warning_code::progressives_dropped, first_given);
    w.value = starts[0] + starts[1] + starts[2];
    w.stored = *std::max_element(starts.begin(), starts.end());
    note_warning(&log_, w);
}

}  // namespace scenario::warning_walk
