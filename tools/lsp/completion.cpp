#include "tools/lsp/completion.h"

#include "compiler/keywords.h"
#include "compiler/text_case.h"
#include "tools/core/format_reference.h"
#include "tools/lsp/field_lookup.h"
#include "tools/lsp/program_lines.h"
#include "tools/words/diagnostics.h"
#include "tools/words/text_encoding.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

namespace scenario::tool::lsp {

namespace {

// The editor's completion kinds and text formats used here.
constexpr int module_kind = 9;
constexpr int keyword_kind = 14;
constexpr int plain_text = 1;
constexpr int snippet_format = 2;

// Where the line stands: before "[generale]", in the line description's
// general section or body, or in the run description, as the readers went
// on at the fields before it; and the heading above it.
struct place {
    source_section where = source_section::before_header;
    std::string heading;
};

place place_of(const compile_log& log, sorgente_testo file, int line) {
    place p;
    for (const field_record& f : log.fields) {
        if (f.source != file || f.line >= line)  // both 1-based: only the fields on lines before this one
            continue;
        if (f.opens)
            p.where = *f.opens;
    }
    if (p.where == source_section::before_header)
        return p;
    for (int32_t h : headings(log, file)) {
        const field_record& f = log.fields[static_cast<std::size_t>(h)];
        if (f.line >= line)
            break;
        if (f.section != source_section::before_header || f.opens)
            p.heading = f.text;
    }
    return p;
}

std::string sort_key(int group, std::size_t order) {
    std::string n = std::to_string(order);
    return std::to_string(group) + std::string(n.size() < 4 ? 4 - n.size() : 0, '0') + n;
}

std::string spelling(const keyword_row& row) {
    return row.writer_spellings.empty() ? std::string(row.part1) : std::string(row.writer_spellings[0]);
}

std::string fields_markdown(const keyword_row& row) {
    std::string md = "A " + std::string(element_name(row.item)) + " line (" +
                     std::string(section_name(row.section)) + ").";
    for (std::size_t k = 0; k < row.values.size(); ++k) {
        const value_field& v = row.values[k];
        md += "\n" + std::to_string(k + 1) + ". `" + std::string(v.name) + "`: " + std::string(v.meaning);
        if (v.unit.find("none") != 0)
            md += " (" + std::string(v.unit) + ")";
    }
    return md;
}

}  // namespace

nlohmann::json completions_at(const compiled_sources& pair, sorgente_testo file, int line, int byte_column) {
    const compile_log& log = pair.log;
    // The first field of the line: a keyword is typed there, nowhere else.
    const field_record* first = nullptr;
    for (const field_record& f : log.fields)
        if (f.source == file && f.line == line + 1 &&
            (first == nullptr || f.first_column < first->first_column))
            first = &f;
    if (first != nullptr && byte_column > std::max(first->last_column, first->first_column - 1))
        return nlohmann::json::array();
    const int start =
        first != nullptr && first->first_column - 1 <= byte_column ? first->first_column - 1 : byte_column;
    const nlohmann::json range = {{"start", position_json(line, start)},
                                  {"end", position_json(line, byte_column)}};

    const program_lines& program = program_examples();
    const place here = place_of(log, file, line + 1);
    nlohmann::json items = nlohmann::json::array();
    const auto add = [&](std::string label, std::string detail, std::string md, std::string text, int format,
                         int kind, std::string sort) {
        items.push_back({{"label", label},
                         {"kind", kind},
                         {"detail", std::move(detail)},
                         {"documentation", {{"kind", "markdown"}, {"value", std::move(md)}}},
                         {"filterText", label},
                         {"sortText", std::move(sort)},
                         {"insertTextFormat", format},
                         {"textEdit", {{"range", range}, {"newText", std::move(text)}}}});
    };

    if (here.where == source_section::before_header) {
        add(std::string(general_header), "heading", "Opens the readable part: nothing before it is read.",
            std::string(general_header), plain_text, module_kind, sort_key(0, 0));
        return items;
    }
    const std::span<const keyword_row> rows = here.where == source_section::line_general
                                                  ? line_general_keywords()
                                              : here.where == source_section::line_body ? line_body_keywords()
                                                                                        : run_keywords();
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const keyword_row& row = rows[k];
        const auto found = program.lines.find(row.id);
        const bool written = found != program.lines.end();
        // The keywords the program writes under this heading come first.
        const int group = written && lower_ascii(found->second.heading) == lower_ascii(here.heading) ? 0 : 2;
        std::vector<std::string> spellings(row.writer_spellings.begin(), row.writer_spellings.end());
        if (spellings.empty())
            spellings.push_back(spelling(row));
        for (const std::string& word : spellings) {
            // Each spelling gets the program's line with its own keyword.
            const std::string snippet =
                written && found->second.snippet.starts_with(found->second.keyword)
                    ? snippet_text(word) + found->second.snippet.substr(found->second.keyword.size())
                    : built_snippet(row);
            add(word, std::string(element_name(row.item)), fields_markdown(row), snippet, snippet_format,
                keyword_kind, sort_key(group, k));
        }
    }
    // The headings of the program's sources after "[generale]", in order; the
    // one after the current heading first.
    const std::vector<std::string>& heads =
        file == sorgente_testo::linea ? program.line_headings : program.run_headings;
    const auto current = std::find_if(heads.begin(), heads.end(), [&](const std::string& h) {
        return lower_ascii(h) == lower_ascii(here.heading);
    });
    for (std::size_t k = 1; k < heads.size(); ++k) {
        const bool next =
            current != heads.end() && static_cast<std::size_t>(current - heads.begin()) + 1 == k;
        const bool ends_general =
            here.where == source_section::line_general && ends_general_section(heads[k]);
        add(heads[k], "heading",
            ends_general ? "Ends the general section: the body's lines follow."
                         : "A heading: it names the lines that follow.",
            heads[k], plain_text, module_kind, sort_key(next ? 1 : 3, k));
    }
    return items;
}

nlohmann::json answer_completion(const document_request& r) {
    const int line = position_number(r.params, "line");
    const int column = position_number(r.params, "character");
    return r.view == nullptr ? nlohmann::json::array()
                             : completions_at(*r.view->pair, r.view->source, line, column);
}

}  // namespace scenario::tool::lsp
