// Turning the errors a compile recorded into messages for the author of the
// sources: what element, at which position, what is wrong, and the file and
// line that caused it. Everything comes from the compile itself: its log of
// errors and of the fields it read, its cells and where their items came from.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/error_codes.h"
#include "compiler/state.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario::tool {

// A second place an error is about: the line of the item that holds a cell
// found taken, the previous station, the line that holds a value found wrong
// later.
struct related_place {
    sorgente_testo source = sorgente_testo::linea;
    int32_t line = 0;    // 1-based
    int32_t column = 0;  // 1-based byte column of the line's keyword; 0 when not known
    std::string message;
};

struct diagnosis {
    error_code code = error_code::none;
    int32_t number = 0;  // its number
    error_severity severity = error_severity::reader_stop;
    std::optional<int32_t> position;       // metres, when the error records one
    std::optional<sorgente_testo> source;  // the source of the line behind it, when known
    int32_t line = 0;                      // 1-based line in that source; 0 when not known
    int32_t column = 0;                    // 1-based byte column of the field concerned; 0 when not known
    std::string message;  // e.g. "signal at 3650 m: its cell (3700 to 3750 m) is already taken ..."
    std::vector<related_place> related;
};

// One diagnosis per error in `log.errors`, in order; when `stamp` holds a
// stamp error that the log does not end with, a fatal diagnosis for it comes
// last. `s` and `log` are what the compile left.
std::vector<diagnosis> diagnose(const stato_scenario& s, const compile_log& log,
                                const std::optional<error_code>& stamp);

// What a line describes, in a few words ("speed limit", "tunnel-name board").
const char* element_name(line_item e);

// "reader", "sweep" or "fatal".
const char* severity_name(error_severity g);
// What the severity means for the compile, in a few words.
const char* severity_effect(error_severity g);

}  // namespace scenario::tool
