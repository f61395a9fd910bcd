#include "tools/report/compile_report.h"

#include "compiler/warnings.h"
#include "tools/report/file_io.h"
#include "tools/report/report_json.h"
#include "tools/report/report_order.h"
#include "tools/report/text_encoding.h"

#include <nlohmann/json.hpp>

namespace scenario::tool {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

std::size_t compile_result::warning_count() const {
    std::size_t n = warnings.list.size();
    for (const auto& item : warnings.not_shown)
        n += item.second;
    return n;
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

void print_warning(const worded_warning& w, const report_files& f, std::ostream& err) {
    print_place(err, file_named(w.source, f.line, f.run), w.line, w.first_column, "scenario: ");
    err << "warning [" << warning_name(w.code) << "]: " << valid_utf8(w.message) << "\n";
    for (const related_place& r : w.related) {
        print_place(err, file_named(r.source, f.line, f.run), r.line, 0, "");
        err << "note: " << valid_utf8(r.message) << "\n";
    }
}

}  // namespace

void print_report_text(const compile_result& e, const report_files& files, const std::string& who,
                       std::ostream& out, std::ostream& err) {
    // Errors and warnings as one list in file and line order; at one place
    // the error comes first.
    const std::vector<diagnosis> errors = in_report_order(e.errors);
    const std::vector<worded_warning> warnings = in_report_order(e.warnings.list);
    for (const report_item& item : merged_report(errors, warnings)) {
        if (item.error)
            print_error(errors[item.index], files, who, err);
        else
            print_warning(warnings[item.index], files, err);
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
    if (e.compiled && e.errors.empty() && e.status && !e.written.empty())
        out << "compiled without errors\n";
}

void print_report_json(const compile_result& e, const report_files& files, std::ostream& out) {
    json errors = json::array();
    for (const diagnosis& d : in_report_order(e.errors))
        errors.push_back(diagnosis_json(d, files.line, files.run));
    json warnings = json::array();
    for (const worded_warning& w : in_report_order(e.warnings.list))
        warnings.push_back(warning_json(w, files.line, files.run));
    json omitted = json::object();
    for (const auto& [code, n] : e.warnings.not_shown)
        omitted[std::string(warning_name(code))] = n;
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
        {"written", written},
        {"failure", e.status ? json(nullptr) : json(e.status.error())},
    };
    out << report.dump(2, ' ', false, json::error_handler_t::replace) << "\n";
}

}  // namespace scenario::tool
