#include "tools/words/diagnostics.h"

#include "tools/words/diagnosis_composer.h"

#include <algorithm>
#include <string>

namespace scenario::tool {

const char* element_name(line_item e) {
    using el = line_item;
    switch (e) {
        case el::none:
            return "line";
        case el::route_length:
            return "route length";
        case el::progressive:
            return "kilometric progressive";
        case el::scenery:
            return "scenery value";
        case el::signal_repetition:
            return "signal repetition";
        case el::gradient:
            return "gradient";
        case el::curve:
            return "curve";
        case el::tunnel:
            return "tunnel";
        case el::speed_board:
            return "maximum-speed board";
        case el::tunnel_board:
            return "tunnel-name board";
        case el::braked_mass:
            return "braked mass";
        case el::coaches:
            return "number of coaches";
        case el::speed_limit:
            return "speed limit";
        case el::adhesion:
            return "adhesion";
        case el::clock:
            return "clock";
        case el::sand:
            return "sand";
        case el::signal:
            return "signal";
        case el::slowdown:
            return "slowdown";
        case el::abbattimento:
            return "abbattimento point";
        case el::station:
            return "station";
    }
    return "line";
}

const char* severity_name(error_severity g) {
    switch (g) {
        case error_severity::reader_stop:
            return "reader";
        case error_severity::sweep:
            return "sweep";
        case error_severity::fatal:
            return "fatal";
    }
    return "reader";
}

const char* severity_effect(error_severity g) {
    switch (g) {
        case error_severity::reader_stop:
            return "reading stopped there";
        case error_severity::sweep:
            return "the compile went on";
        case error_severity::fatal:
            return "the compile stopped, no file written";
    }
    return "";
}

std::vector<diagnosis> diagnose(const stato_scenario& s, const compile_log& log,
                                const std::optional<error_code>& stamp) {
    composing::composer c(s, log);
    std::vector<diagnosis> list;
    list.reserve(log.errors.size() + 1);
    for (std::size_t i = 0; i < log.errors.size(); ++i)
        list.push_back(c.compose(log.errors[i], i));
    if (stamp) {
        // The compile logs its stamp errors; a log that did not still gets one.
        logged_error fatal;
        fatal.code = *stamp;
        if (list.empty() || list.back().code != fatal.code)
            list.push_back(c.compose(fatal, log.errors.size()));
    }
    return list;
}

}  // namespace scenario::tool
