#include "compiler/warning_causes.h"

#include "compiler/error_codes.h"
#include "compiler/keywords.h"
#include "compiler/unread_parts.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

namespace scenario {

namespace {

using line_key = std::pair<sorgente_testo, int32_t>;

// Faults that shift the fields after them, most telling first: where one
// line has several, the first of this list is the cause.
constexpr std::array shifting = {warning_code::missing_comma, warning_code::unknown_keyword,
                                 warning_code::keyword_in_text, warning_code::too_few_fields,
                                 warning_code::too_many_fields};

int shift_rank(warning_code c) {
    const auto it = std::find(shifting.begin(), shifting.end(), c);
    return it == shifting.end() ? -1 : static_cast<int>(it - shifting.begin());
}

// Faults on the route length line: the length read is not the one written.
bool misreads_a_value(warning_code c) {
    return c == warning_code::not_a_number || c == warning_code::empty_value ||
           c == warning_code::value_wrapped || shift_rank(c) >= 0;
}

// Whether each line's first field was read as a value of an earlier line's
// keyword: the reader was still out of step there.
std::map<line_key, bool> lines_starting_with_a_value(const compile_log& log) {
    std::map<line_key, bool> first;
    for (const field_record& f : log.fields)
        first.try_emplace({f.source, f.line}, f.role == field_role::value);
    return first;
}

class folding {
public:
    explicit folding(const compile_log& log) : log_(log), cause_(log.warnings.size(), no_cause) {}

    std::vector<int32_t> run() {
        drop_restated();
        fold_route_length();
        fold_unended_general_section();
        fold_shifted_lines();
        fold_times_after_a_bad_time();
        return cause_;
    }

private:
    const logged_warning& w(std::size_t i) const { return log_.warnings[i]; }
    bool free(std::size_t i) const { return cause_[i] == no_cause; }

    // A warning the reader-stopping error at its line already says, "no
    // station" after reading stopped, and the warnings that a whole source
    // went unread, which unread_parts reports as that failure.
    void drop_restated() {
        std::vector<line_key> stops;
        for (const logged_error& e : log_.errors)
            if (error_severity_of(e.code) == error_severity::reader_stop && e.place.known)
                stops.emplace_back(e.place.source, e.place.line);
        for (std::size_t i = 0; i < cause_.size(); ++i) {
            const logged_warning& x = w(i);
            const bool at_a_stop =
                x.place.known &&
                std::find(stops.begin(), stops.end(), line_key{x.place.source, x.place.line}) != stops.end();
            if ((x.code == warning_code::no_station && !stops.empty()) ||
                (x.code == warning_code::in_run_off && at_a_stop) || x.code == warning_code::utf16_file ||
                x.code == warning_code::run_general_missing)
                cause_[i] = restated;
        }
    }

    // A route length misread: every position then lies off the route.
    void fold_route_length() {
        for (std::size_t r = 0; r < cause_.size(); ++r) {
            const keyword_row* row = w(r).row;
            if (!free(r) || row == nullptr || row->item != line_item::route_length ||
                !misreads_a_value(w(r).code))
                continue;
            for (std::size_t i = 0; i < cause_.size(); ++i)
                if (free(i) && w(i).code == warning_code::in_run_off)
                    cause_[i] = static_cast<int32_t>(r);
            return;
        }
    }

    // A general section that never ended: the body's keywords, found in it
    // one after another, all follow from the first.
    void fold_unended_general_section() {
        if (!log_.general_section_unended)
            return;
        int32_t first = no_cause;
        for (std::size_t i = 0; i < cause_.size(); ++i) {
            const logged_warning& x = w(i);
            if (!free(i) || x.code != warning_code::misplaced_keyword ||
                x.place.source != sorgente_testo::linea || !is_line_body_keyword(x.row))
                continue;
            if (first == no_cause)
                first = static_cast<int32_t>(i);
            else
                cause_[i] = first;
        }
    }

    // A shifting fault: the other warnings of its line, and of every next
    // line the reader entered with a value still due, follow from it.
    void fold_shifted_lines() {
        std::map<line_key, std::vector<std::size_t>> by_line;
        for (std::size_t i = 0; i < cause_.size(); ++i)
            if (w(i).place.known)
                by_line[{w(i).place.source, w(i).place.line}].push_back(i);
        const std::map<line_key, bool> value_first = lines_starting_with_a_value(log_);

        for (const auto& [key, indexes] : by_line) {
            int32_t root = no_cause;
            for (std::size_t i : indexes)
                if (free(i) && shift_rank(w(i).code) >= 0 &&
                    (root == no_cause ||
                     shift_rank(w(i).code) < shift_rank(w(static_cast<std::size_t>(root)).code)))
                    root = static_cast<int32_t>(i);
            if (root == no_cause)
                continue;
            const auto follow = [&](const std::vector<std::size_t>& on_line) {
                for (std::size_t i : on_line)
                    if (free(i) && static_cast<int32_t>(i) != root)
                        cause_[i] = root;
            };
            follow(indexes);
            for (int32_t line = key.second + 1;; ++line) {
                const auto started = value_first.find({key.first, line});
                if (started == value_first.end() || !started->second)
                    break;
                if (const auto more = by_line.find({key.first, line}); more != by_line.end())
                    follow(more->second);
            }
        }
    }

    // A station time outside the day makes the next timed station look
    // earlier than it: that "backwards" follows from the bad time.
    void fold_times_after_a_bad_time() {
        for (std::size_t i = 0; i < cause_.size(); ++i) {
            const logged_warning& x = w(i);
            if (!free(i) || x.code != warning_code::time_backwards || !x.other.known)
                continue;
            for (std::size_t j = 0; j < cause_.size(); ++j)
                if (j != i && cause_[j] == no_cause && w(j).code == warning_code::time_out_of_range &&
                    w(j).place.known && w(j).place.source == x.other.source &&
                    w(j).place.line == x.other.line) {
                    cause_[i] = static_cast<int32_t>(j);
                    break;
                }
        }
    }

    const compile_log& log_;
    std::vector<int32_t> cause_;
};

}  // namespace

std::vector<int32_t> warning_causes(const compile_log& log) {
    return folding(log).run();
}

}  // namespace scenario
