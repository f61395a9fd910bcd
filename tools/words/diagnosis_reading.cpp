// The errors of reading the sources: the general part, read failures, a
// missing general section, progressives and curves.
#include "compiler/route_facts.h"
#include "compiler/text_case.h"
#include "compiler/track_plan.h"
#include "tools/words/diagnosis_composer.h"

#include <algorithm>
#include <string>

namespace scenario::tool::composing {

std::optional<std::string> composer::general_part_message() const {
    const voce& identity = s_.voci[voce_identita_treno];
    switch (e_->code) {
        case error_code::route_too_long:
            return "route length " + metres(route::length_read(s_.voci)) +
                   ": longer than the 1000000 m a route may have";
        case error_code::progressive_not_on_50:
            return progressive_message();
        case error_code::first_repetition_not_on_50:
            return "signal repetition: the first distance, " + metres(identity.valore1) +
                   ", is not a multiple of 50";
        case error_code::second_repetition_not_on_50:
            return "signal repetition: the second distance, " + metres(identity.valore2) +
                   ", is not a multiple of 50";
        case error_code::repetition_codes_unnamed:
            return "signal repetition \"" + field_text(e_->place, 0) +
                   "\": the keyword names neither 4 nor 9 codes";
        default:
            return std::nullopt;
    }
}

std::string composer::read_failure_message() {
    const source_place& l = e_->place;
    std::string where = "the sources";
    if (l.known)
        where = l.item != line_item::none ? describe(l) : source_name(l.source);
    std::string t = where + ": cannot be read: " + (e_->detail.empty() ? "a read failure" : e_->detail);
    const auto i = static_cast<std::size_t>(e_->failed_field);
    if (e_->failed_field >= 0 && i < log_.fields.size() && (!l.known || log_.fields[i].source == l.source)) {
        const field_record& f = log_.fields[i];
        const bool past_end = e_->detail.starts_with("the file ends");
        t += past_end ? "; the file ends after the field \"" : "; the field \"";
        t += f.raw.size() > 60 ? f.raw.substr(0, 60) + "..." : f.raw;
        t += "\" (line " + std::to_string(f.line) + ", columns " + std::to_string(f.first_column) + " to " +
             std::to_string(std::max(f.first_column, f.last_column)) + ")";
        d_.source = f.source;
        d_.line = f.line;
        d_.column = f.first_column;
    }
    const source_place& v = e_->value_line;
    if (v.known && (!l.known || v.line != l.line || v.source != l.source)) {
        add_related(v, "the value was written here (" + describe(v) + ")");
        t += "; the value was written on line " + std::to_string(v.line) + " (" + describe(v) + ")";
    }
    return t + "; the compile stopped reading";
}

std::string composer::no_general_section() {
    d_.source = sorgente_testo::linea;
    d_.line = 1;
    d_.column = 1;
    const field_record* first = nullptr;
    const field_record* last = nullptr;
    for (const field_record& f : log_.fields)
        if (f.source == sorgente_testo::linea) {
            if (first == nullptr)
                first = &f;
            last = &f;
        }
    std::string t = "the line description has no field holding \"[generale]\" before the end of the file";
    if (last != nullptr && lower_ascii(last->text).find("[generale]") != std::string::npos)
        t = "the line description's only \"[generale]\" is the file's last field, which is never taken "
            "as "
            "the start of the general section";
    t += ": nothing in it was read";
    if (first != nullptr && (first->raw.starts_with("\xFF\xFE") || first->raw.starts_with("\xFE\xFF") ||
                             first->raw.find('\0') != std::string::npos))
        t += "; the file looks like UTF-16: save it as 8-bit text (Windows-1252)";
    return t;
}

std::string composer::progressive_message() const {
    const source_place& l = e_->place;
    if (!l.known)
        return "a kilometric progressive's start or end is not a multiple of 50";
    std::string t = "kilometric progressive \"" + field_text(l, 0) + "\"";
    const std::optional<int32_t> start = number_field(l, 1);
    const std::optional<int32_t> end = number_field(l, 2);
    if (start && end)
        t += " (" + metres(*start) + ", " + metres(*end) + ")";
    return t + ": its start and end must be multiples of 50";
}

std::string composer::curve_message() const {
    const std::string word = field_text(e_->place, 0);
    const std::optional<int32_t> start = number_field(e_->place, 1);
    const std::string t = "curve \"" + word + "\"" + (start ? " at " + metres(*start) : std::string()) + ": ";
    if (!curvatura_parola(word))
        return t + "the keyword names no curve class (a digit 1 to 6)";
    return t + "the track plan would run beyond " + metres(ultimo_punto_curve);
}

}  // namespace scenario::tool::composing
