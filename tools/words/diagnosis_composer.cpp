// The composer's frame: quoting the line behind an error, the choice of the
// family that words it, and the messages of no family.
#include "tools/words/diagnosis_composer.h"

#include "compiler/provenance.h"
#include "compiler/route_facts.h"

#include <string>

namespace scenario::tool::composing {

std::string metres(int64_t p) {
    return std::to_string(p) + " m";
}

// Cells c..last as the stretch of route they cover.
std::string stretch(int64_t c, int64_t last) {
    const route::span s = route::cells_span(c, last);
    return std::to_string(s.from) + " to " + std::to_string(s.to) + " m";
}
std::string stretch(int64_t c) {
    return stretch(c, c);
}

// What stands in a cell, as a sentence names it ("a signal").
const char* what_stands(uint8_t tipo) {
    const std::optional<route::cell_kind_words> k = route::cell_kind(tipo);
    return k ? k->phrase : "an item";
}

// The elements whose first number is a position along the route.
bool has_position_value(line_item e) {
    using el = line_item;
    switch (e) {
        case el::gradient:
        case el::curve:
        case el::tunnel:
        case el::speed_board:
        case el::tunnel_board:
        case el::speed_limit:
        case el::adhesion:
        case el::signal:
        case el::slowdown:
        case el::abbattimento:
        case el::station:
            return true;
        default:
            return false;
    }
}

const char* source_name(sorgente_testo s) {
    return s == sorgente_testo::linea ? "the line description" : "the run description";
}

diagnosis composer::compose(const logged_error& e, std::size_t index) {
    e_ = &e;
    index_ = index;
    d_ = {};
    d_.code = e.code;
    d_.number = error_number(e.code);
    d_.severity = error_severity_of(e.code);
    if (e.has_position)
        d_.position = e.position;
    if (e.place.known) {
        d_.source = e.place.source;
        d_.line = e.place.line;
        if (const field_record* k = field_read(e.place, 0))
            d_.column = k->first_column;
    }
    d_.message = message_text();
    return d_;
}

const field_record* composer::field_read(const source_place& l, std::size_t i) const {
    if (!l.known)
        return nullptr;
    const std::span<const field_record> line = fields_of_line(log_, l.keyword_field);
    return i < line.size() ? &line[i] : nullptr;
}

std::string composer::field_text(const source_place& l, std::size_t i) const {
    const field_record* f = field_read(l, i);
    if (f == nullptr)
        return {};
    return f->width == field_width::text ? f->text : f->raw;
}

std::optional<int32_t> composer::number_field(const source_place& l, std::size_t i) const {
    const field_record* f = field_read(l, i);
    if (f == nullptr || f->reading != field_reading::number)
        return std::nullopt;
    return f->value;
}

std::string composer::describe(const source_place& l, std::optional<int64_t> position) const {
    std::string t = element_name(l.item);
    if (l.item == line_item::station) {
        // The station name is the 17th value.
        const field_record* name = field_read(l, 17);
        if (name != nullptr && name->width == field_width::text && !name->text.empty())
            t += " " + name->text;
    }
    if (!has_position_value(l.item))
        return t;
    if (!position)
        position = number_field(l, 1);
    if (position)
        t += " at " + metres(*position);
    return t;
}

std::string composer::who(const char* fallback) const {
    const source_place& l = e_->place;
    if (!l.known || l.item == line_item::none)
        return fallback;
    const bool own_position = e_->has_position && d_.severity == error_severity::reader_stop;
    return describe(l, own_position ? std::optional<int64_t>(e_->position) : std::nullopt);
}

void composer::add_related(const source_place& l, std::string message) {
    if (!l.known || (d_.source == l.source && d_.line == l.line))
        return;
    const field_record* keyword = field_read(l, 0);
    d_.related.push_back(
        {l.source, l.line, keyword != nullptr ? keyword->first_column : 0, std::move(message)});
}

std::string composer::message_text() {
    if (std::optional<std::string> t = general_part_message())
        return *t;
    if (std::optional<std::string> t = taken_cell_message())
        return *t;
    if (std::optional<std::string> t = station_message())
        return *t;
    if (std::optional<std::string> t = sweep_message())
        return *t;
    return other_message();
}

std::string composer::other_message() {
    const logged_error& e = *e_;
    switch (e.code) {
        case error_code::beyond_route_end:
            return e.inherited_stop ? inherited_stop_message() : beyond_route_message();
        case error_code::read_failure:
            return read_failure_message();
        case error_code::line_description_missing:
            return "the line description does not exist";
        case error_code::general_section_missing:
            return no_general_section();
        case error_code::curve_invalid:
            return curve_message();
        case error_code::identity_stamp_in_use:
        case error_code::competition_code_stamp_in_use:
            return stamp_message();
        default: {
            std::string t = error_description(e.code);
            if (e.has_position)
                t += " (at " + metres(e.position) + ")";
            return t;
        }
    }
}

}  // namespace scenario::tool::composing
