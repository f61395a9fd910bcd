#include "tools/lsp/program_lines.h"

#include "common/line_list.h"
#include "sources/identity.h"
#include "sources/writers.h"
#include "tools/core/memory_compile.h"
#include "tools/lsp/field_lookup.h"
#include "tools/words/text_encoding.h"

#include <algorithm>
#include <span>

namespace scenario::tool::lsp {

namespace {

// The writer's line with each value field turned into a tab stop; empty when
// the line's fields do not all stand on it.
std::string line_snippet(const std::string& text, std::span<const field_record> fields) {
    for (const field_record& f : fields)
        if (f.line != fields.front().line || f.last_column > static_cast<int32_t>(text.size()))
            return {};
    std::string snippet;
    std::size_t done = 0;
    for (std::size_t k = 1; k < fields.size(); ++k) {
        const std::size_t from = static_cast<std::size_t>(fields[k].first_column - 1);
        const std::size_t to =
            static_cast<std::size_t>(std::max(fields[k].last_column, fields[k].first_column - 1));
        snippet += snippet_text(text.substr(done, from - done));
        const std::string value = text.substr(from, to - from);
        snippet += "${" + std::to_string(k) + (value.empty() ? "" : ":" + snippet_text(value)) + "}";
        done = to;
    }
    return snippet + snippet_text(text.substr(done));
}

program_lines work_out() {
    const lista_righe line = sorgenti::righe_linea();
    const lista_righe run = sorgenti::righe_treno();
    const compiled_sources pair = compile_texts(testo_lista(line), testo_lista(run),
                                                {sorgenti::nome_scenario, sorgenti::numero_treno}, true);
    program_lines found;
    for (const sorgente_testo source : {sorgente_testo::linea, sorgente_testo::corsa}) {
        auto& heads = source == sorgente_testo::linea ? found.line_headings : found.run_headings;
        for (int32_t h : headings(pair.log, source))
            heads.push_back(pair.log.fields[static_cast<std::size_t>(h)].text);
    }
    std::string heading;
    for (std::size_t i = 0; i < pair.log.fields.size(); ++i) {
        const field_record& f = pair.log.fields[i];
        if (f.role != field_role::keyword)
            continue;
        const int32_t index = static_cast<int32_t>(i);
        if (is_heading(f.text) && row_read(pair.log, index) == nullptr)
            heading = f.text;
        const auto [first, end] = std::equal_range(
            pair.log.keywords_read.begin(), pair.log.keywords_read.end(), keyword_read{index},
            [](const keyword_read& a, const keyword_read& b) { return a.field < b.field; });
        for (const keyword_read& k : std::span(first, end)) {
            const std::span<const field_record> fields = fields_of_line(pair.log, index);
            if (fields.size() != k.row->values.size() + 1 || found.lines.contains(k.row->id))
                continue;
            const lista_righe& lines = f.source == sorgente_testo::linea ? line : run;
            if (f.line < 1 || static_cast<std::size_t>(f.line) > lines.size())
                continue;
            std::string snippet = line_snippet(lines[static_cast<std::size_t>(f.line - 1)], fields);
            if (!snippet.empty())
                found.lines.emplace(k.row->id,
                                    program_line{valid_utf8(from_windows1252(snippet)), heading, f.raw});
        }
    }
    return found;
}

}  // namespace

const program_lines& program_examples() {
    static const program_lines lines = work_out();
    return lines;
}

std::string built_snippet(const keyword_row& row) {
    std::string snippet = snippet_text(row.writer_spellings.empty() ? std::string(row.part1)
                                                                    : std::string(row.writer_spellings[0]));
    for (std::size_t k = 0; k < row.values.size(); ++k) {
        const std::string_view sample = row.values[k].sample.empty() ? "0" : row.values[k].sample;
        snippet += ", ${" + std::to_string(k + 1) + ":" + snippet_text(sample) + "}";
    }
    return snippet;
}

std::string snippet_text(std::string_view text) {
    std::string t;
    for (char c : text) {
        if (c == '$' || c == '}' || c == '\\')
            t += '\\';
        t += c;
    }
    return t;
}

}  // namespace scenario::tool::lsp
