#include "compiler/unread_parts.h"

#include "compiler/keywords.h"
#include "compiler/text_case.h"

#include <algorithm>

namespace scenario {

bool is_line_body_keyword(const keyword_row* row) {
    const auto body = line_body_keywords();
    return row != nullptr && row >= body.data() && row < body.data() + body.size();
}

namespace {

// The last line read as the route length: the one whose value was kept.
source_place route_length_line(const stato_scenario& s, const compile_log& log) {
    source_place found;
    const keyword_row* length_row = nullptr;
    for (const keyword_row& row : line_general_keywords())
        if (row.item == line_item::route_length)
            length_row = &row;
    if (length_row == nullptr)
        return found;
    for (std::size_t i = 0; i < log.fields.size(); ++i) {
        const field_record& f = log.fields[i];
        if (f.source != sorgente_testo::linea || f.role != field_role::keyword)
            continue;
        if (length_row->matches(f.text, lower_ascii(f.text), s.compila_linea != 0))
            found = source_place{true, sorgente_testo::linea, f.line, line_item::route_length,
                                 static_cast<int32_t>(i)};
    }
    return found;
}

}  // namespace

std::vector<unread_part> unread_parts(const stato_scenario& s, const compile_log& log) {
    std::vector<unread_part> parts;
    const auto add = [&](unread_cause cause, sorgente_testo source, const source_place& place) {
        for (const unread_part& p : parts)
            if (p.cause == cause && p.source == source)
                return;
        parts.push_back({cause, source, place});
    };
    for (const logged_warning& w : log.warnings) {
        switch (w.code) {
            case warning_code::utf16_file:
                add(unread_cause::utf16_source, w.place.source, w.place);
                break;
            case warning_code::run_general_missing:
                add(unread_cause::run_general_missing, sorgente_testo::corsa, w.place);
                break;
            case warning_code::misplaced_keyword:
                // A body keyword in a general section that never ended: the
                // body was there, and none of it was read as the body.
                if (log.general_section_unended && w.place.source == sorgente_testo::linea &&
                    is_line_body_keyword(w.row))
                    add(unread_cause::general_unended, sorgente_testo::linea, w.place);
                break;
            default:
                break;
        }
    }
    // A route was sized (the line was read) but its length is 0.
    if (!s.celle.empty() && s.voci[voce_treno].valore2 == 0)
        add(unread_cause::empty_route, sorgente_testo::linea, route_length_line(s, log));
    std::stable_sort(parts.begin(), parts.end(), [](const unread_part& a, const unread_part& b) {
        return a.source == sorgente_testo::linea && b.source != sorgente_testo::linea;
    });
    return parts;
}

}  // namespace scenario
