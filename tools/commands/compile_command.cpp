#include "tools/commands/compile_command.h"

#include "compiler/compile_driver.h"
#include "compiler/compiled_files.h"
#include "compiler/errors.h"
#include "compiler/source_store.h"
#include "compiler/state.h"
#include "compiler/warnings.h"
#include "tools/commands/exit_status.h"
#include "tools/report/file_io.h"
#include "tools/report/report_json.h"
#include "tools/report/report_order.h"
#include "tools/report/scenario_names.h"
#include "tools/report/text_encoding.h"

#include <nlohmann/json.hpp>
#include <system_error>

namespace scenario::tool {

namespace fs = std::filesystem;
using tool::display_path;

namespace {

bool same_file(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::exists(a, ec) && fs::exists(b, ec) && fs::equivalent(a, b, ec);
}

}  // namespace

compile_result compile_sources(const compile_request& r, const compile_settings& o) {
    compile_result result;
    for (const auto& [what, value] :
         {std::pair{"the scenario name", &r.nome_scenario}, std::pair{"the train number", &r.numero_treno}}) {
        if (auto failure = check_file_name(what, *value)) {
            result.failure = *failure;
            return result;
        }
    }
    tool::file_read line_read = tool::read_file(r.line_file);
    tool::file_read run_read = tool::read_file(r.run_file);
    if (!line_read.bytes || !run_read.bytes) {
        result.failure = !line_read.bytes ? line_read.error : run_read.error;
        return result;
    }

    // The compiled files must never replace an input file.
    std::vector<fs::path> outputs = {
        percorso_in(r.out_dir, nome_file_linea_compilato(r.nome_scenario)),
        percorso_in(r.out_dir, nome_file_corsa_compilato(r.nome_scenario, r.numero_treno)),
        percorso_in(r.out_dir, nome_file_celle_compilato(r.nome_scenario, r.numero_treno)),
    };
    if (!o.write)
        outputs.clear();
    for (const fs::path& u : outputs) {
        for (const fs::path* in : {&r.line_file, &r.run_file}) {
            if (same_file(u, *in)) {
                result.failure =
                    display_path(u) + ": the compiled file would replace the input file " + display_path(*in);
                return result;
            }
        }
    }

    stato_scenario s;
    s.nome_scenario = r.nome_scenario;
    s.numero_treno = r.numero_treno;
    const int32_t j = r.plan ? 1 : 0;
    sorgenti_in_memoria sources{*line_read.bytes, *run_read.bytes};
    compile_log log;
    const std::optional<error_code> stamp = compila_scenario(s, j, sources, {}, &log);
    result.compiled = true;

    result.errors = diagnose(s, log, stamp);
    result.warnings = word_warnings(s, log, o.ignored);
    result.codice_errore = s.codice_errore;
    result.posizione_errore = s.posizione_errore;
    if (stamp) {
        // As in the program: the stamp error ends the compile, nothing is written.
        result.fatal = error_number(*stamp);
        return result;
    }
    if (!o.write)
        return result;

    std::error_code ec;
    fs::create_directories(r.out_dir, ec);
    if (ec || !fs::is_directory(r.out_dir, ec)) {
        result.failure = display_path(r.out_dir) + ": cannot create the output directory";
        return result;
    }
    if (auto failure = scrivi_file_compilati(s, r.out_dir)) {
        result.failure = describe_failure(*failure);
        return result;
    }
    for (std::size_t i = r.plan ? 0 : 1; i < outputs.size(); ++i)
        result.written.push_back(outputs[i]);
    return result;
}

}  // namespace scenario::tool

namespace scenario::tool {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;
using tool::compile_result;
using tool::diagnosis;

const char* const compile_description =
    "Compiles a line description and a run description with the program's own\n"
    "compiler and writes the three compiled files into DIR (default: the current\n"
    "directory, created when missing):\n"
    "  NAME_linea.dat           line file (track plan; not written with --no-plan)\n"
    "  NAME_NUMBER.sim          run file\n"
    "  NAME_NUMBER.dat          cell file\n"
    "The input files are only read, never changed or deleted.\n"
    "\n"
    "Every error the compile records is reported with its number, what is wrong,\n"
    "the position in metres and the file and line behind it:\n"
    "  reader errors stop the reading (as in the program, the files are still\n"
    "  written from what was read); sweep errors (11, 12, 13) let the compile go\n"
    "  on; a fatal stamp error (1250, 1251) stops it and no file is written.\n"
    "The error record the program keeps holds only the last error.";

namespace {

// The file an author named for a diagnosis, as typed.
std::optional<std::string> file_of(const diagnosis& d, const compile_arguments& a) {
    return file_named(d.source, a.line, a.run);
}

std::optional<std::string> file_of(const worded_warning& w, const compile_arguments& a) {
    return file_named(w.source, a.line, a.run);
}

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

void report_json(const compile_result& e, const compile_arguments& a, std::ostream& out) {
    json errors = json::array();
    for (const diagnosis& d : in_report_order(e.errors))
        errors.push_back(diagnosis_json(d, a.line, a.run));
    json warnings = json::array();
    for (const worded_warning& w : in_report_order(e.warnings.list))
        warnings.push_back(warning_json(w, a.line, a.run));
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
        {"last_error", e.errors.empty() ? json(nullptr) : diagnosis_json(e.errors.back(), a.line, a.run)},
        {"errors", errors},
        {"warnings", warnings},
        {"warnings_not_shown", omitted},
        {"written", written},
        {"failure", e.failure ? json(*e.failure) : json(nullptr)},
    };
    out << report.dump(2, ' ', false, json::error_handler_t::replace) << "\n";
}

// "FILE:LINE: " or "FILE:LINE:COLUMN: " before a message; `fallback` when
// the entry is tied to no file.
void print_place(std::ostream& err, const std::optional<std::string>& file, int32_t line, int32_t column,
                 const char* fallback) {
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

void print_error(const diagnosis& d, const compile_arguments& a, std::ostream& err) {
    print_place(err, file_of(d, a), d.line, 0, "scenario compile: ");
    err << tool::severity_name(d.severity) << " error " << d.number;
    if (d.position)
        err << " at " << *d.position << " m";
    err << ": " << d.message << " [" << tool::severity_effect(d.severity) << "]\n";
    for (const related_place& r : d.related) {
        print_place(err, file_named(r.source, a.line, a.run), r.line, 0, "");
        err << "note: " << valid_utf8(r.message) << "\n";
    }
}

void print_warning(const worded_warning& w, const compile_arguments& a, std::ostream& err) {
    print_place(err, file_of(w, a), w.line, w.first_column, "scenario: ");
    err << "warning [" << warning_name(w.code) << "]: " << valid_utf8(w.message) << "\n";
}

void report_text(const compile_result& e, const compile_arguments& a, std::ostream& out, std::ostream& err) {
    // Errors and warnings as one list in file and line order; at one place
    // the error comes first.
    const std::vector<diagnosis> errors = in_report_order(e.errors);
    const std::vector<worded_warning> warnings = in_report_order(e.warnings.list);
    for (const report_item& item : merged_report(errors, warnings)) {
        if (item.error)
            print_error(errors[item.index], a, err);
        else
            print_warning(warnings[item.index], a, err);
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
    if (e.compiled && e.errors.empty() && !e.failure && !e.written.empty())
        out << "compiled without errors\n";
}

}  // namespace

namespace {

std::size_t warning_count(const compile_result& e) {
    std::size_t n = e.warnings.list.size();
    for (const auto& item : e.warnings.not_shown)
        n += item.second;
    return n;
}

// Runs a compile or a check: `who` names the command in messages.
int compile_or_check(const compile_arguments& a, bool write, const char* who, std::ostream& out,
                     std::ostream& err) {
    tool::compile_request r;
    r.line_file = path_from_utf8(a.line);
    r.run_file = path_from_utf8(a.run);
    r.nome_scenario = a.name;
    r.numero_treno = a.train;
    r.plan = !a.no_plan;
    r.out_dir = path_from_utf8(a.out);
    tool::compile_settings o;
    o.write = write;
    for (const std::string& code : a.ignore) {
        const auto c = warning_from_name(code);
        if (!c) {
            err << who << ": --ignore: no warning is called '" << valid_utf8(code)
                << "'\nThe codes are listed in '" << who << " --help'.\n";
            return exit_status::usage;
        }
        o.ignored.push_back(*c);
    }

    const compile_result e = tool::compile_sources(r, o);
    if (a.json)
        report_json(e, a, out);
    else
        report_text(e, a, out, err);
    if (e.failure) {
        if (!a.json)
            err << who << ": " << *e.failure << "\n";
        return exit_status::usage;
    }
    if (!write && !a.json && e.compiled)
        out << (e.errors.empty() && e.codice_errore == 0 ? "no errors" : "errors found") << ", "
            << warning_count(e) << " warning" << (warning_count(e) == 1 ? "" : "s") << "; nothing written\n";
    const bool errors = !e.errors.empty() || e.codice_errore != 0;
    const bool warned = warning_count(e) > 0;
    return errors || (a.strict && warned) ? exit_status::errors_found : exit_status::success;
}

}  // namespace

int run_compile(const compile_arguments& a, std::ostream& out, std::ostream& err) {
    return compile_or_check(a, true, "scenario compile", out, err);
}

const char* const check_description =
    "Compiles a line description and a run description exactly as 'compile' does\n"
    "and reports every error and warning, but writes nothing. Without --name or\n"
    "--train they are taken from the file names (NAME_linea.txt, NAME_NUMBER-.txt).\n"
    "\n"
    "Warnings say what the compiler did with lines it read without an error (a\n"
    "keyword that matches nothing, a value read as 0, a value that wraps, lines out\n"
    "of order ...); they never change a compiled byte. Their codes (for --ignore):\n"
    "  unknown-keyword, missing-comma, keyword-in-text, misplaced-keyword,\n"
    "  keyword-case, not-a-number, empty-value, too-many-fields, too-few-fields,\n"
    "  value-wrapped, profile-order, tunnel-end, slowdown-length, in-run-off,\n"
    "  not-windows-1252, utf16-file, byte-order-mark, name-not-ascii,\n"
    "  run-general-missing, no-station.\n"
    "Exit status 1 when an error is found, or, with --strict, a warning.";

int run_check(const compile_arguments& given, std::ostream& out, std::ostream& err) {
    compile_arguments a = given;
    if (a.name.empty() || a.train.empty()) {
        const names_result n = complete_names(path_from_utf8(a.line), path_from_utf8(a.run), a.name, a.train);
        if (!n.names) {
            err << "scenario check: " << n.error << "\n";
            return exit_status::usage;
        }
        a.name = n.names->name;
        a.train = n.names->train;
        if (n.names->guessed)
            err << "scenario check: " << describe_guess(*n.names) << "\n";
    }
    return compile_or_check(a, false, "scenario check", out, err);
}

}  // namespace scenario::tool
