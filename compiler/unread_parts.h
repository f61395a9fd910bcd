// The parts of the sources a compile read nothing of although no error
// stopped it: the compiled files then hold no scenario worth the name, and the
// tool reports a failure, not a success with a warning.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/state.h"

#include <vector>

namespace scenario {

enum class unread_cause : uint8_t {
    utf16_source,         // a source written as UTF-16: no keyword can match
    run_general_missing,  // a run description without "[generale]": nothing in it is read
    general_unended,      // a line description whose general section never ends: its body is not read
    empty_route,          // a route length of 0: every position lies in the run-off
};

struct unread_part {
    unread_cause cause = unread_cause::utf16_source;
    sorgente_testo source = sorgente_testo::linea;
    source_place place;  // the line behind it, when there is one
};

// Whether a keyword row is one of the line description's body.
bool is_line_body_keyword(const keyword_row* row);

// In source order (line description first). Needs a log with warnings, as
// the tool compiles.
std::vector<unread_part> unread_parts(const stato_scenario& s, const compile_log& log);

}  // namespace scenario
