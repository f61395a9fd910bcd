#include "tools/core/format_reference.h"

#include "common/line_list.h"
#include "compiler/text_case.h"
#include "sources/identity.h"
#include "sources/writers.h"
#include "tools/core/memory_compile.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace scenario::tool {

namespace {

constexpr std::string_view rules[] = {
    "A source is read field by field, not line by line: a comma or a line end ends a field.",
    "A line is a keyword field and then exactly the value fields its keyword takes; surplus fields are "
    "read as keyword fields of their own, missing ones are taken from the next line.",
    "A number also ends at a blank (\"16  19  30\" are three numbers); an empty field or one that is not "
    "a number reads as 0; a number beyond its width is a read failure (error 25).",
    "A text value (a board caption, a station name) runs to the next comma or line end; a field that "
    "begins with a double quote runs to the closing one and may hold commas.",
    "A keyword is recognised by substrings: the field need only contain the test's words. Every test of a "
    "section is tried on the same field, in the order below, so a field that passes two tests runs both.",
    "Nothing is read before the first field that contains \"[generale]\" (either case). In the line "
    "description the general section ends at the first field with \"[\" and \"]\" that does not begin "
    "with \"-\" (the writer uses \"[curve]\"); other headings are ignored.",
    "A keyword field that contains \"-\" is skipped and the next field takes its place: up to ten in a "
    "row in the general section, two in the body and in the run description.",
    "The last field of a file is never interpreted: end the file with a line such as \"[fine]\".",
    "Lines end with CR LF; the text is Windows-1252, one byte per character.",
    "Positions and lengths are whole metres from the start of the route, which is cut into cells of 50 m "
    "and runs 7000 m beyond the route length; a position p stands for the cell p / 50, rounded to the "
    "nearest whole number (halves to even), or p / 50 + 1 for boards, signals and slowdowns (the cell "
    "after).",
    "Each value field below gives its meaning, unit, width (how it is read) and range (the values accepted "
    "and what happens outside them), what the compiled files keep of it, what the compiler does with "
    "particular values of a code, and, where the compiler only passes a value on to the simulator, the "
    "values the program's own sources give it and on which lines.",
};

// What the program's own sources show of each row: the first line whose
// handler read exactly the row's values (as the compile's field records show
// it), and every value each field was given.
struct program_use {
    std::map<keyword, std::string> examples;
    std::map<keyword, std::vector<std::vector<program_value>>> values;
};

void add_value(std::vector<program_value>& values, std::string value, int32_t line) {
    for (program_value& v : values) {
        if (v.value == value) {
            if (v.lines.empty() || v.lines.back() != line)
                v.lines.push_back(line);
            return;
        }
    }
    values.push_back({std::move(value), {line}});
}

program_use program_sources() {
    const lista_righe line = sorgenti::righe_linea();
    const lista_righe run = sorgenti::righe_treno();
    const compiled_sources c =
        compile_texts(testo_lista(line), testo_lista(run),
                      scenario_names{sorgenti::nome_scenario, sorgenti::numero_treno, false}, true);
    const compile_log& log = c.log;

    program_use use;
    for (std::size_t i = 0; i < log.fields.size(); ++i) {
        const field_record& f = log.fields[i];
        if (f.role != field_role::keyword || f.section == source_section::before_header)
            continue;
        const std::string lowered = lower_ascii(f.text);
        const std::span<const keyword_row> rows =
            f.section == source_section::line_general ? line_general_keywords()
            : f.section == source_section::line_body  ? line_body_keywords()
                                                      : run_keywords();
        const std::span<const field_record> read = fields_of_line(log, static_cast<int32_t>(i));
        const lista_righe& lines = f.source == sorgente_testo::linea ? line : run;
        for (const keyword_row& row : rows) {
            if (!row.matches(f.text, lowered, true) || read.size() != row.values.size() + 1)
                continue;
            if (f.line >= 1 && static_cast<std::size_t>(f.line) <= lines.size())
                use.examples.emplace(row.id, lines[static_cast<std::size_t>(f.line - 1)]);
            auto& values = use.values[row.id];
            values.resize(row.values.size());
            for (std::size_t n = 0; n < row.values.size(); ++n) {
                const field_record& v = read[n + 1];
                add_value(values[n], v.width == field_width::text ? v.text : std::to_string(v.value), v.line);
            }
        }
    }
    return use;
}

// "33-38, 41" for the lines, or how many and where when they are many.
std::string lines_text(const std::vector<int32_t>& lines) {
    std::vector<std::pair<int32_t, int32_t>> runs;
    for (int32_t l : lines) {
        if (!runs.empty() && runs.back().second + 1 == l)
            runs.back().second = l;
        else
            runs.emplace_back(l, l);
    }
    constexpr std::size_t most_runs = 4;
    if (runs.size() > most_runs)
        return std::to_string(lines.size()) + " lines from " + std::to_string(lines.front()) + " to " +
               std::to_string(lines.back());
    std::string t = lines.size() == 1 ? "line " : "lines ";
    for (std::size_t k = 0; k < runs.size(); ++k) {
        t += (k == 0 ? "" : ", ") + std::to_string(runs[k].first);
        if (runs[k].second != runs[k].first)
            t += "-" + std::to_string(runs[k].second);
    }
    return t;
}

std::string test_words(const keyword_row& row) {
    std::string t(row.part1);
    if (!row.part2.empty())
        t += " " + std::string(row.part2);
    return t;
}

// A line from the row alone: its word and each value's sample.
std::string built_example(const keyword_row& row, const std::string& word) {
    std::string line = word;
    for (const value_field& v : row.values)
        line += ", " + std::string(v.sample.empty() ? std::string_view("0") : v.sample);
    return line;
}

}  // namespace

std::vector<reference_entry> format_reference() {
    program_use use = program_sources();
    std::vector<reference_entry> reference;
    for (auto rows : {line_general_keywords(), line_body_keywords(), run_keywords()}) {
        for (const keyword_row& row : rows) {
            reference_entry e;
            e.row = &row;
            e.title =
                row.writer_spellings.size() == 1 ? std::string(row.writer_spellings[0]) : test_words(row);
            if (auto it = use.values.find(row.id); it != use.values.end())
                e.program_values = std::move(it->second);
            if (auto it = use.examples.find(row.id); it != use.examples.end()) {
                e.example = it->second;
                e.example_from_writer = true;
            } else {
                e.example = built_example(
                    row, row.writer_spellings.empty() ? e.title : std::string(row.writer_spellings[0]));
            }
            reference.push_back(std::move(e));
        }
    }
    return reference;
}

std::vector<const reference_entry*> find_keyword(const std::vector<reference_entry>& reference,
                                                 std::string_view word) {
    const std::string lowered = lower_ascii(word);
    std::vector<const reference_entry*> found;
    const auto collect = [&](auto&& accepts) {
        for (const reference_entry& e : reference)
            if (accepts(e))
                found.push_back(&e);
        return !found.empty();
    };
    const auto spellings_of = [](const reference_entry& e) {
        std::vector<std::string> all{lower_ascii(e.title)};
        for (std::string_view s : e.row->writer_spellings)
            all.push_back(lower_ascii(s));
        return all;
    };
    if (lowered.empty())
        return found;
    if (collect([&](const reference_entry& e) {
            const auto all = spellings_of(e);
            return std::find(all.begin(), all.end(), lowered) != all.end();
        }))
        return found;
    if (collect([&](const reference_entry& e) { return e.row->matches(word, lowered, true); }))
        return found;
    if (lowered.size() >= 3)
        collect([&](const reference_entry& e) {
            for (const std::string& s : spellings_of(e))
                if (s.find(lowered) != std::string::npos)
                    return true;
            return false;
        });
    return found;
}

std::string program_values_text(const std::vector<program_value>& values, std::size_t most) {
    std::string t;
    for (std::size_t k = 0; k < values.size() && k < most; ++k)
        t += (k == 0 ? "" : ", ") + values[k].value + " (" + lines_text(values[k].lines) + ")";
    if (values.size() > most)
        t += " and " + std::to_string(values.size() - most) + " other values";
    return t;
}

std::span<const std::string_view> format_rules() {
    return rules;
}

std::string_view section_name(keyword_section s) {
    switch (s) {
        case keyword_section::general:
            return "line description, general section";
        case keyword_section::body:
            return "line description, body";
        case keyword_section::run:
            return "run description";
    }
    return "run description";
}

std::string_view width_name(field_width w) {
    switch (w) {
        case field_width::bits32:
            return "32-bit signed";
        case field_width::bits16:
            return "16-bit signed";
        case field_width::bits8:
            return "8-bit unsigned (0 to 255)";
        case field_width::text:
            return "text";
    }
    return "text";
}

std::string recognition(const keyword_row& row) {
    std::string t = "the keyword field contains \"" + std::string(row.part1) + "\"";
    if (!row.part2.empty())
        t += " and \"" + std::string(row.part2) + "\"";
    t += row.ignore_case ? " (either case)" : " (exactly this case)";
    if (row.condition == keyword_condition::track_plan_built)
        t += ", only while the track plan is built (not with --no-plan)";
    return t;
}

}  // namespace scenario::tool
