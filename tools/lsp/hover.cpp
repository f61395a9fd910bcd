#include "tools/lsp/hover.h"

#include "tools/core/format_reference.h"
#include "tools/lsp/field_lookup.h"
#include "tools/lsp/place_words.h"
#include "tools/words/diagnostics.h"
#include "tools/words/text_encoding.h"
#include "tools/words/warning_words.h"

#include <string>

namespace scenario::tool::lsp {

namespace {

std::string utf8(std::string_view source_text) {
    return valid_utf8(from_windows1252(source_text));
}

// The writers' spelling of a keyword, or its test's words.
std::string spelling(const keyword_row& row) {
    if (!row.writer_spellings.empty())
        return std::string(row.writer_spellings[0]);
    return std::string(row.part1) + (row.part2.empty() ? "" : " " + std::string(row.part2));
}

// The warnings whose columns take in the field, with their consequences.
void add_warnings(std::string& md, const std::vector<worded_warning>& list, const field_record& f) {
    for (const worded_warning& w : list) {
        if (w.source == f.source && w.line == f.line && w.first_column <= f.first_column &&
            w.last_column >= f.last_column)
            md += "\n\n**Warning:** " + w.message;
        add_warnings(md, w.consequences, f);
    }
}

std::string reading_words(const field_record& f) {
    switch (f.reading) {
        case field_reading::number:
            return "read as " + std::to_string(f.value);
        case field_reading::empty_as_zero:
            return "read as 0: empty";
        case field_reading::not_a_number:
            return "read as 0: not a number";
        case field_reading::beyond_width:
            return "not read: " + f.raw + " does not fit a " + std::string(width_name(f.width)) +
                   " field (a read failure, error 25)";
        case field_reading::text:
            return "read as the text \"" + utf8(f.text) + "\"";
    }
    return {};
}

std::string heading_words(const field_record& f) {
    std::string md = "**" + utf8(f.text) + "**: a heading.";
    if (f.opens == source_section::line_general || f.opens == source_section::run)
        md += " Nothing before it is read; the " +
              std::string(f.source == sorgente_testo::linea ? "general section" : "run description") +
              " starts here.";
    else if (f.opens == source_section::line_body)
        md += " It ends the general section: the body's lines follow.";
    else
        md += " The readers pass over it: it only names the lines that follow.";
    return md;
}

std::string keyword_words(const compiled_sources& pair, const field_record& f, int32_t index) {
    const keyword_row* row = row_read(pair.log, index);
    if (row == nullptr)
        return is_heading(f.text) ? heading_words(f) : "";
    std::string md = "**" + spelling(*row) + "**: a " + element_name(row->item) + " line (" +
                     std::string(section_name(row->section)) + "). Recognised when " + recognition(*row) +
                     ".";
    if (!row->note.empty())
        md += " " + std::string(row->note);
    if (!row->values.empty()) {
        md += "\n\nIts fields:";
        for (std::size_t k = 0; k < row->values.size(); ++k) {
            const value_field& v = row->values[k];
            md += "\n" + std::to_string(k + 1) + ". `" + std::string(v.name) + "`: " + std::string(v.meaning);
            if (v.unit.find("none") != 0)
                md += " (" + std::string(v.unit) + ")";
        }
    }
    const std::span<const field_record> line = fields_of_line(pair.log, index);
    if (line.size() > 1 && line[1].width != field_width::text && is_position(*row, 0))
        md += "\n\nThis line: " + place_words(pair, index, *row, 0, line[1].value) + ".";
    return md;
}

std::string value_words(const compiled_sources& pair, const field_record& f, int32_t index) {
    const int32_t keyword_field = keyword_field_of(pair.log, index);
    const keyword_row* row = keyword_field >= 0 ? row_read(pair.log, keyword_field) : nullptr;
    const std::size_t k = static_cast<std::size_t>(index - keyword_field - 1);
    if (row == nullptr || k >= row->values.size())
        return "A value field: " + reading_words(f) + ".";
    const value_field& v = row->values[k];
    std::string md = "**" + std::string(v.name) + "**: " + std::string(v.meaning) + ", value " +
                     std::to_string(k + 1) + " of " + std::to_string(row->values.size()) + " of the " +
                     element_name(row->item) + " line `" + spelling(*row) + "`.";
    md += "\n\n- unit: " + std::string(v.unit) + "\n- width: " + std::string(width_name(v.width)) + "\n- " +
          reading_words(f) + "\n- accepted: " + std::string(v.range) + "\n- kept: " + std::string(v.kept);
    for (const code_value& c : v.codes)
        md += "\n- " + std::string(c.values) + ": " + std::string(c.effect);
    if (f.width != field_width::text && f.reading != field_reading::beyond_width && is_position(*row, k))
        md += "\n\nAt " + place_words(pair, keyword_field, *row, k, f.value) + ".";
    return md;
}

}  // namespace

nlohmann::json hover_at(const compiled_sources& pair, sorgente_testo file, int line, int byte_column) {
    const int32_t index = field_at(pair.log, file, line, byte_column);
    if (index < 0)
        return nullptr;
    const field_record& f = pair.log.fields[static_cast<std::size_t>(index)];
    std::string md =
        f.role == field_role::keyword ? keyword_words(pair, f, index) : value_words(pair, f, index);
    add_warnings(md, word_warnings(*pair.state, pair.log, {}).list, f);
    if (md.empty())
        return nullptr;
    if (md.starts_with("\n\n"))
        md.erase(0, 2);
    return {{"contents", {{"kind", "markdown"}, {"value", md}}}, {"range", field_range(f)}};
}

nlohmann::json answer_hover(const document_request& r) {
    const int line = position_number(r.params, "line");
    const int column = position_number(r.params, "character");
    return r.view == nullptr ? nlohmann::json(nullptr)
                             : hover_at(*r.view->pair, r.view->source, line, column);
}

}  // namespace scenario::tool::lsp
