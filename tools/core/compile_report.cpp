#include "tools/core/compile_report.h"

#include "compiler/warnings.h"
#include "tools/core/file_io.h"
#include "tools/words/report_json.h"
#include "tools/words/report_order.h"
#include "tools/words/text_encoding.h"

#include <nlohmann/json.hpp>

namespace scenario::tool {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

std::size_t compile_result::warning_count() const {
    std::size_t n = count_with_consequences(warnings.list);
    for (const auto& item : warnings.not_shown)
        n += item.second;
    return n + documents.size();
}

namespace {

// The fatal stamp error with the words the diagnostics gave it.
json fatal_json(const compile_result& e) {
    if (!e.fatal)
        return nullptr;
    std::string message = " Errore n. " + std::to_string(*e.fatal);
    for (const diagnosis& d : e.errors)
        if (d.severity == error_severity::fatal && d.number == *e.fatal)
            message = d.message;
    return json{{"number", *e.fatal}, {"message", message}};
}

// "FILE:LINE: " or "FILE:LINE:COLUMN: " before a message; `fallback` when
// the entry is tied to no file.
void print_place(std::ostream& err, const std::optional<std::string>& file, int32_t line, int32_t column,
                 const std::string& fallback) {
    if (!file) {
        err << fallback;
        return;
    }
    err << valid_utf8(*file);
    if (line > 0)
        err << ":" << line;
    if (column > 0)
        err << ":" << column;
    err << ": ";
}

void print_error(const diagnosis& d, const report_files& f, const std::string& who, std::ostream& err) {
    print_place(err, file_named(d.source, f.line, f.run), d.line, 0, who + ": ");
    err << severity_name(d.severity) << " error " << d.number;
    if (d.position)
        err << " at " << *d.position << " m";
    err << ": " << d.message << " [" << severity_effect(d.severity) << "]\n";
    for (const related_place& r : d.related) {
        print_place(err, file_named(r.source, f.line, f.run), r.line, 0, "");
        err << "note: " << valid_utf8(r.message) << "\n";
    }
}

void print_warning(const worded_warning& w, const report_files& f, bool verbose, std::ostream& err) {
    print_place(err, file_named(w.source, f.line, f.run), w.line, w.first_column, "scenario: ");
    err << "warning [" << warning_name(w.code) << "]: " << valid_utf8(w.message);
    const std::size_t n = count_with_consequences(w.consequences);
    if (n > 0 && !verbose)
        err << " (and " << n << " consequence" << (n == 1 ? "" : "s") << ", listed with --verbose)";
    err << "\n";
    for (const related_place& r : w.related) {
        print_place(err, file_named(r.source, f.line, f.run), r.line, 0, "");
        err << "note: " << valid_utf8(r.message) << "\n";
    }
    if (!verbose)
        return;
    for (const worded_warning& c : w.consequences) {
        print_place(err, file_named(c.source, f.line, f.run), c.line, c.first_column, "scenario: ");
        err << "consequence [" << warning_name(c.code) << "]: " << valid_utf8(c.message) << "\n";
    }
}

std::string joined_parts(const std::vector<unread_part>& parts) {
    std::string t;
    for (std::size_t i = 0; i < parts.size(); ++i)
        t += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + unread_part_name(parts[i]);
    return t;
}

std::string counted(std::size_t n, const char* thing) {
    return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

}  // namespace

const char* unread_cause_name(unread_cause c) {
    switch (c) {
        case unread_cause::utf16_source:
            return "utf16-file";
        case unread_cause::run_general_missing:
            return "run-general-missing";
        case unread_cause::general_unended:
            return "general-section-unended";
        case unread_cause::empty_route:
            break;
    }
    return "empty-route";
}

std::string unread_part_name(const unread_part& u) {
    switch (u.cause) {
        case unread_cause::utf16_source:
        case unread_cause::run_general_missing:
            return u.source == sorgente_testo::linea ? "the line description" : "the run description";
        case unread_cause::general_unended:
            return "the line description's body";
        case unread_cause::empty_route:
            break;
    }
    return "the route (its length is 0)";
}

std::string unread_message(const unread_part& u) {
    switch (u.cause) {
        case unread_cause::utf16_source:
            return unread_part_name(u) +
                   " is written as UTF-16, where no keyword can match: save it as Windows-1252 (ANSI)";
        case unread_cause::run_general_missing:
            return "the run description has no field holding \"[generale]\", so nothing in it was read: its "
                   "train, profiles, signals, slowdowns and stations are all missing";
        case unread_cause::general_unended:
            return "the line description's general section never ends (no heading such as '[curve]' follows "
                   "it), so its body was read as general keywords and none of it was stored";
        case unread_cause::empty_route:
            break;
    }
    return "the route length is 0: the line has no metre of its own and every position lies in the run-off "
           "after it";
}

std::string outcome_line(const compile_result& e, bool wrote, bool strict) {
    const std::size_t warnings = e.warning_count();
    const std::string not_read = e.unread.empty() ? std::string() : "not read: " + joined_parts(e.unread);
    std::string t;
    if (e.errors_found())
        t = "errors found" + (not_read.empty() ? "" : ", " + not_read) + ", " + counted(warnings, "warning");
    else if (!not_read.empty())
        t = (wrote ? "compiled, but " : "") + not_read + "; " + counted(warnings, "warning");
    else if (strict && warnings > 0)
        t = std::string(wrote ? "compiled without errors" : "no errors") + ", but " +
            counted(warnings, "warning") + (warnings == 1 ? " fails" : " fail") + " --strict";
    else if (wrote)
        t = "compiled without errors";
    else
        t = "no errors, " + counted(warnings, "warning");
    return wrote ? t : t + "; nothing written";
}

void print_report_text(const compile_result& e, const report_files& files, const std::string& who,
                       bool verbose, std::ostream& out, std::ostream& err) {
    // A part not read at all comes first: everything after may follow from it.
    for (const unread_part& u : e.unread) {
        print_place(err, file_named(u.source, files.line, files.run), u.place.known ? u.place.line : 0, 0,
                    who + ": ");
        err << "not read: " << unread_message(u) << "\n";
    }
    // Errors and warnings as one list in file and line order; at one place
    // the error comes first.
    const std::vector<diagnosis> errors = in_report_order(e.errors);
    const std::vector<worded_warning> warnings = in_report_order(e.warnings.list);
    for (const report_item& item : merged_report(errors, warnings)) {
        if (item.error)
            print_error(errors[item.index], files, who, err);
        else
            print_warning(warnings[item.index], files, verbose, err);
    }
    for (const document_warning& d : e.documents) {
        print_place(err, d.file, d.line, 0, "");
        err << "warning [" << d.code << "]: " << valid_utf8(d.message) << "\n";
    }
    for (const auto& [code, n] : e.warnings.not_shown)
        err << "scenario: " << n << " more warning" << (n == 1 ? "" : "s") << " [" << warning_name(code)
            << "] not shown\n";
    if (e.codice_errore != 0) {
        err << "error record: codice_errore " << e.codice_errore << ", posizione_errore "
            << e.posizione_errore;
        if (e.errors.size() > 1)
            err << " (the last of " << e.errors.size() << " errors)";
        err << "\n";
    }
    for (const fs::path& p : e.written)
        out << "wrote " << display_path(p) << "\n";
}

void print_report_json(const compile_result& e, const report_files& files, std::ostream& out) {
    json errors = json::array();
    for (const diagnosis& d : in_report_order(e.errors))
        errors.push_back(diagnosis_json(d, files.line, files.run));
    json warnings = json::array();
    for (const worded_warning& w : in_report_order(e.warnings.list))
        warnings.push_back(warning_json(w, files.line, files.run));
    // A document's warnings take the shape of the sources' ones.
    for (const document_warning& d : e.documents)
        warnings.push_back(json{{"severity", "warning"},
                                {"code", d.code},
                                {"message", d.message},
                                {"file", d.file},
                                {"line", d.line > 0 ? json(d.line) : json(nullptr)},
                                {"column", nullptr},
                                {"last_column", nullptr},
                                {"related", json::array()},
                                {"consequences", json::array()}});
    json omitted = json::object();
    for (const auto& [code, n] : e.warnings.not_shown)
        omitted[std::string(warning_name(code))] = n;
    json not_read = json::array();
    for (const unread_part& u : e.unread) {
        const std::optional<std::string> file = file_named(u.source, files.line, files.run);
        not_read.push_back(
            json{{"cause", unread_cause_name(u.cause)},
                 {"part", unread_part_name(u)},
                 {"file", file ? json(*file) : json(nullptr)},
                 {"line", u.place.known && u.place.line > 0 ? json(u.place.line) : json(nullptr)},
                 {"message", unread_message(u)}});
    }
    json written = json::array();
    for (const fs::path& p : e.written)
        written.push_back(display_path(p));
    const json report{
        // Exactly the error record the compile left, whatever else happened.
        {"codice_errore", e.codice_errore},
        {"posizione_errore", e.posizione_errore},
        {"fatal", fatal_json(e)},
        // The last error recorded, as the error record keeps it.
        {"last_error",
         e.errors.empty() ? json(nullptr) : diagnosis_json(e.errors.back(), files.line, files.run)},
        {"errors", errors},
        {"warnings", warnings},
        {"warnings_not_shown", omitted},
        {"not_read", not_read},
        {"written", written},
        {"running_times", e.running_times},
        {"failure", e.status ? json(nullptr) : json(e.status.error())},
    };
    out << report.dump(2, ' ', false, json::error_handler_t::replace) << "\n";
}

}  // namespace scenario::tool
