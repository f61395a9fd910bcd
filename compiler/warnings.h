// Warnings: what the compile did that the author may not have meant. They are
// facts in the compile log (code, place, numbers) and never change the state.
// Some are noted by the readers while they read; the rest are found at the end
// from the fields the readers recorded, tested against the keyword tables.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/state.h"

#include <optional>
#include <span>
#include <string_view>

namespace scenario {

// The stable name of each code ("unknown-keyword"), in code order.
std::span<const std::string_view> warning_names();
std::string_view warning_name(warning_code c);
std::optional<warning_code> warning_from_name(std::string_view name);

// Keeps `w` when fewer than warnings_kept_per_code of its code are kept; counts it always.
void note_warning(compile_log* log, const logged_warning& w);

// A profile (speed, adhesion, gradient) line whose cell `cell` does not come
// after the cells already filled: noted by the reader that fills them.
// `previous` is the line before it in the same profile, `applies_from` the
// first cell its value now reaches.
void note_profile_order(const log_at& at, int32_t position, const source_place& previous,
                        int32_t previous_position, int32_t applies_from);

// The warnings found from the recorded fields, the keyword tables and what the
// compile left in `s`. Needs the fields (compile_options::record_fields).
void find_warnings(const stato_scenario& s, compile_log& log);

}  // namespace scenario
