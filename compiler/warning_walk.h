// The pass over the recorded fields of one source that finds most warnings,
// shared by the files of its checks: warnings.cpp (the walk), the shape of a
// line (warning_line_checks.cpp), its values (warning_value_checks.cpp) and
// the items along the route (warning_route_checks.cpp).
#pragma once

#include "compiler/compile_log.h"
#include "compiler/keywords.h"
#include "compiler/state.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace scenario::warning_walk {

// One pass over the fields of one source.
class source_walk {
public:
    source_walk(const stato_scenario& s, compile_log& log, sorgente_testo source, std::size_t first,
                std::size_t end)
        : s_(s), log_(log), source_(source), first_(first), end_(end) {}

    void run();

private:
    const field_record& f(std::size_t i) const { return log_.fields[i]; }
    bool same_line_keyword(std::size_t i, int32_t line) const {
        return i < end_ && f(i).role == field_role::keyword && f(i).line == line;
    }
    logged_warning at_field(warning_code c, std::size_t i, std::size_t count = 1) const;
    std::span<const keyword_row> rows() const;
    bool matches_any(std::span<const keyword_row> rows, const field_record& k, bool any_case) const;
    std::size_t swallow(std::size_t i, warning_code c, const keyword_row* row);
    std::size_t surplus(std::size_t after, int32_t line, const keyword_row& row);
    std::size_t read_line(std::size_t i, std::span<const keyword_row* const> matched);
    void check_spelling(std::size_t i, std::span<const keyword_row* const> matched);
    void check_short_line(std::size_t i, const keyword_row& row, std::span<const field_record> values,
                          std::size_t expected);
    void check_values(const keyword_row& row, std::span<const field_record> values, std::size_t first_index);
    void check_readings(const keyword_row& row, std::span<const field_record> values,
                        std::size_t first_index);
    void check_stored(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                      std::size_t first_index);
    void check_run_off(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                       std::size_t first_index);
    void check_speed(const keyword_row& row, int32_t index, int64_t speed, std::size_t first_index);
    void check_tunnel(const keyword_row& row, int64_t inizio, int64_t fine, int64_t tipo,
                      std::size_t first_index);
    void check_curve(const keyword_row& row, int64_t start, int64_t length, std::size_t first_index);
    void check_time(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                    std::size_t first_index);
    void check_repeated(const keyword_row& row);
    void check_cell_position(const keyword_row& row, int32_t index, int64_t position, int64_t taken_to,
                             std::size_t first_index);
    void check_positions(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                         std::size_t first_index);
    void check_progressives();
    void check_ignored(const keyword_row& row, const std::array<std::optional<int64_t>, 17>& v,
                       std::size_t first_index);
    source_place keyword_place(const keyword_row& row) const {
        return {true, source_, f(keyword_).line, row.item, static_cast<int32_t>(keyword_)};
    }
    bool encoding_of_source();

    // A tunnel line read so far: its cells and where it was written.
    struct tunnel_seen {
        int64_t inizio, fine, first_cell, last_cell;
        source_place place;
    };

    const stato_scenario& s_;
    compile_log& log_;
    sorgente_testo source_;
    std::size_t first_, end_;
    // The section of the keyword field being checked, as its reader recorded it.
    source_section section_ = source_section::before_header;
    int32_t header_line_ = 0;  // the line that opened the readable part; 0: none did
    int32_t stations_ = 0;
    std::size_t keyword_ = 0;  // the keyword field of the line being checked
    std::vector<tunnel_seen> tunnels_;
    int64_t plan_index_ = 2;  // the next point of the track plan, as the curve reader keeps it
    source_place last_curve_{};
    std::optional<int64_t> last_time_;  // the last timed station's time, seconds after midnight
    source_place last_timed_{};
    std::vector<std::pair<keyword, source_place>> settings_;  // setting lines met
};

}  // namespace scenario::warning_walk
