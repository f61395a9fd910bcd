#include "tools/commands/format_command.h"

#include "compiler/keywords.h"
#include "compiler/nearest_keyword.h"
#include "tools/commands/command.h"
#include "tools/commands/exit_status.h"
#include "tools/core/format_reference.h"
#include "tools/words/document_reference.h"
#include "tools/words/text_encoding.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::tool {

using json = nlohmann::ordered_json;

const char* const format_description =
    "Describes the two text sources as the compiler reads them: the general\n"
    "rules, then every keyword of the line description (general section and\n"
    "body) and of the run description, in the order the reader tests them: how\n"
    "the keyword field is recognised, the writer's own spelling, an example line\n"
    "(the program's own line, or one built from the keyword's fields when the\n"
    "program writes none) and the value fields in order, each with its meaning,\n"
    "unit, width and range, what the compiled files keep of it, what the\n"
    "compiler does with the values of a code, and, for a value the compiler\n"
    "only passes on to the simulator, the values the program's own sources\n"
    "give it and on which lines.\n"
    "With KEYWORD only the keywords it names: a writer's spelling, a word the\n"
    "reader accepts as that keyword, or a part of a writer's spelling (several\n"
    "words are joined with blanks). An unknown KEYWORD is a usage error and the\n"
    "keywords are listed.";

namespace {

// Where the program's own values of a field are listed: a code, or a value
// the compiler only passes on.
bool lists_program_values(const value_field& v) {
    return v.passed_on || !v.codes.empty();
}

std::string_view source_name(keyword_section s) {
    return s == keyword_section::run ? "run description" : "line description";
}

void write_codes(std::span<const code_value> codes, std::string_view indent, std::ostream& out) {
    for (const code_value& c : codes)
        out << indent << c.values << ": " << c.effect << "\n";
}

void write_field_text(const reference_entry& e, std::size_t n, std::ostream& out) {
    const value_field& v = e.row->values[n];
    out << "    " << n + 1 << ". " << v.name << ": " << v.meaning << "\n";
    out << "       unit: " << v.unit << "; width: " << width_name(v.width) << "\n";
    out << "       range: " << v.range << "\n";
    out << "       kept: " << v.kept << "\n";
    if (!v.codes.empty()) {
        out << "       what the compiler does with its values:\n";
        write_codes(v.codes, "         ", out);
    }
    if (v.passed_on)
        out << "       beyond that the compiler only passes it on to the simulator\n";
    if (!lists_program_values(v))
        return;
    if (n < e.program_values.size() && !e.program_values[n].empty()) {
        const std::size_t most = v.width == field_width::text ? 3 : 8;
        out << "       the program's own " << source_name(e.row->section) << ": "
            << from_windows1252(program_values_text(e.program_values[n], most)) << "\n";
    } else {
        out << "       the program's own sources never write it\n";
    }
}

void write_entry_text(const reference_entry& e, std::ostream& out) {
    const keyword_row& row = *e.row;
    out << e.title << "  (" << section_name(row.section) << ")\n";
    out << "  recognised when " << recognition(row) << "\n";
    if (row.writer_spellings.empty()) {
        out << "  the program's writers never write it\n";
    } else {
        out << "  written by the program as";
        for (std::size_t i = 0; i < row.writer_spellings.size(); ++i)
            out << (i == 0 ? " " : ", ") << '"' << row.writer_spellings[i] << '"';
        out << "\n";
    }
    if (!row.note.empty())
        out << "  note: " << row.note << "\n";
    if (!row.keyword_codes.empty()) {
        out << "  what the keyword field decides:\n";
        write_codes(row.keyword_codes, "    ", out);
    }
    out << "  example" << (e.example_from_writer ? " (the program's own line)" : "") << ": "
        << from_windows1252(e.example) << "\n";
    out << "  value fields, in order:\n";
    for (std::size_t n = 0; n < row.values.size(); ++n)
        write_field_text(e, n, out);
}

// The driver's documents `scenario package` writes: its rules and the keys
// of the details file.
void write_documents_text(std::ostream& out) {
    out << "\nThe driver's documents (scenario package, check --documents)\n";
    for (std::string_view r : document_rules())
        out << "  - " << r << "\n";
    out << "\nThe details file NAME_NUMBER_documenti.json (JSON, optional), its keys\n";
    for (std::string_view k : details_keys())
        out << "  - " << k << "\n";
}

void write_text(const std::vector<const reference_entry*>& entries, bool with_rules, std::ostream& out) {
    if (with_rules) {
        out << "The two text sources: the line description NAME_linea.txt and the run\n"
               "description NAME_NUMBER-.txt.\n\nGeneral rules\n";
        for (std::string_view r : format_rules())
            out << "  - " << r << "\n";
    }
    const keyword_row* previous = nullptr;
    for (const reference_entry* e : entries) {
        if (with_rules && (previous == nullptr || previous->section != e->row->section))
            out << "\nKeywords of the " << section_name(e->row->section)
                << ", in the order they are tested\n";
        out << "\n";
        write_entry_text(*e, out);
        previous = e->row;
    }
    if (with_rules)
        write_documents_text(out);
}

const char* section_key(keyword_section s) {
    switch (s) {
        case keyword_section::general:
            return "general";
        case keyword_section::body:
            return "body";
        case keyword_section::run:
            return "run";
    }
    return "run";
}

json codes_json(std::span<const code_value> codes) {
    json all = json::array();
    for (const code_value& c : codes)
        all.push_back(json{{"values", c.values}, {"effect", c.effect}});
    return all;
}

json field_json(const reference_entry& e, std::size_t n) {
    const value_field& v = e.row->values[n];
    json uses = nullptr;
    if (lists_program_values(v)) {
        uses = json::array();
        if (n < e.program_values.size())
            for (const program_value& p : e.program_values[n])
                uses.push_back(json{{"value", from_windows1252(p.value)}, {"lines", p.lines}});
    }
    return json{{"name", v.name},
                {"meaning", v.meaning},
                {"unit", v.unit},
                {"width", width_name(v.width)},
                {"range", v.range},
                {"kept", v.kept},
                {"codes", codes_json(v.codes)},
                {"passed_on", v.passed_on},
                {"program_values", uses}};
}

json entry_json(const reference_entry& e) {
    const keyword_row& row = *e.row;
    json contains = json::array({row.part1});
    if (!row.part2.empty())
        contains.push_back(row.part2);
    json spellings = json::array();
    for (std::string_view s : row.writer_spellings)
        spellings.push_back(s);
    json fields = json::array();
    for (std::size_t n = 0; n < row.values.size(); ++n)
        fields.push_back(field_json(e, n));
    return json{
        {"keyword", e.title},
        {"file", row.section == keyword_section::run ? "run" : "line"},
        {"section", section_key(row.section)},
        {"test", json{{"contains", contains},
                      {"ignore_case", row.ignore_case},
                      {"only_with_track_plan", row.condition == keyword_condition::track_plan_built},
                      {"words", recognition(row)}}},
        {"writer_spellings", spellings},
        {"note", row.note.empty() ? json(nullptr) : json(row.note)},
        {"keyword_codes", codes_json(row.keyword_codes)},
        {"example", from_windows1252(e.example)},
        {"example_from", e.example_from_writer ? "writer" : "built"},
        {"fields", fields},
    };
}

// The nearest spelling of any keyword of either source, when one is close.
std::optional<std::string_view> nearest_of_all(std::string_view word) {
    std::vector<keyword_row> rows;
    for (auto part : {line_general_keywords(), line_body_keywords(), run_keywords()})
        rows.insert(rows.end(), part.begin(), part.end());
    return nearest_keyword(word, rows);
}

}  // namespace

int run_format(const format_arguments& a, std::ostream& out, std::ostream& err) {
    const std::vector<reference_entry> reference = format_reference();
    std::vector<const reference_entry*> entries;
    std::string word;
    for (const std::string& w : a.words)
        word += (word.empty() ? "" : " ") + w;
    if (a.words.empty()) {
        for (const reference_entry& e : reference)
            entries.push_back(&e);
    } else {
        entries = find_keyword(reference, word);
        if (entries.empty()) {
            err << "scenario format: no keyword of either source is \"" << valid_utf8(word) << "\"";
            if (const auto nearest = nearest_of_all(word))
                err << "; did you mean '" << *nearest << "'?";
            err << "\nThe keywords are:\n";
            for (const reference_entry& e : reference)
                err << "  " << e.title << "  (" << section_name(e.row->section) << ")\n";
            return exit_status::usage;
        }
    }

    if (a.json) {
        json rules = json::array();
        for (std::string_view r : format_rules())
            rules.push_back(r);
        json keywords = json::array();
        for (const reference_entry* e : entries)
            keywords.push_back(entry_json(*e));
        json documents = json::array();
        for (std::string_view r : document_rules())
            documents.push_back(r);
        json details = json::array();
        for (std::string_view k : details_keys())
            details.push_back(k);
        out << json{{"rules", rules},
                    {"keywords", keywords},
                    {"document_rules", documents},
                    {"details_keys", details}}
                   .dump(2, ' ', false, json::error_handler_t::replace)
            << "\n";
        return exit_status::success;
    }
    write_text(entries, a.words.empty(), out);
    if (!a.words.empty() && entries.size() > 1)
        out << "\n\"" << valid_utf8(word) << "\" names " << entries.size() << " keywords.\n";
    return exit_status::success;
}

namespace {
command_run declare_format(CLI::App& c) {
    auto a = std::make_shared<format_arguments>();
    c.add_option("KEYWORD", a->words, "The keyword to describe (default: every keyword)")->type_name("");
    c.add_flag("--json", a->json, "Print one JSON object instead of text");
    return [a](std::ostream& out, std::ostream& err) { return run_format(*a, out, err); };
}
}  // namespace

const command format_command{"format", "Describe the text sources' format, keyword by keyword.",
                             format_description, declare_format};

}  // namespace scenario::tool
