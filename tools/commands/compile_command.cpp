#include "tools/commands/compile_command.h"

#include "common/file_replace.h"
#include "compiler/compiled_files.h"
#include "compiler/errors.h"
#include "compiler/route_facts.h"
#include "compiler/source_store.h"
#include "compiler/speed_profile.h"
#include "compiler/state.h"
#include "compiler/warnings.h"
#include "tools/commands/command.h"
#include "tools/commands/exit_status.h"
#include "tools/core/file_io.h"
#include "tools/core/memory_compile.h"
#include "tools/documents/document_check.h"
#include "tools/documents/package_writer.h"
#include "tools/words/text_encoding.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <optional>
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
    compile_result report;
    const named_sources& in = r.sources;
    if (result<void> names = check_names(in.names); !names) {
        report.status = names;
        return report;
    }

    // The compiled files must never replace an input file.
    std::vector<fs::path> outputs = {
        percorso_in(r.out_dir, nome_file_linea_compilato(in.names.name)),
        percorso_in(r.out_dir, nome_file_corsa_compilato(in.names.name, in.names.train)),
        percorso_in(r.out_dir, nome_file_celle_compilato(in.names.name, in.names.train)),
    };
    if (!o.write)
        outputs.clear();
    for (const fs::path& u : outputs) {
        for (const fs::path* source : {&in.line_file, &in.run_file}) {
            if (same_file(u, *source)) {
                report.status =
                    failure{display_path(u) + ": the compiled file would replace the input file " +
                            display_path(*source)};
                return report;
            }
        }
    }

    result<compiled_sources> compiled = compile_files(in, r.plan);
    if (!compiled) {
        report.status = failure{compiled.error()};
        return report;
    }
    const compiled_sources& c = *compiled;
    const stato_scenario& s = *c.state;
    report.compiled = true;
    report.errors = c.errors;
    report.unread = unread_parts(s, c.log);
    report.warnings = word_warnings(s, c.log, o.ignored);
    report.codice_errore = s.codice_errore;
    report.posizione_errore = s.posizione_errore;
    {
        const std::vector<route::station> stations = route::stations(s.celle, s.voci, &c.log);
        const std::vector<route::speed_stretch> speeds =
            route::permitted_speed(s.celle, route::route_length(s.celle, s.voci));
        report.running_times = running_times_json(stations, running_times(stations, speeds, o.train));
    }
    if (c.stamp) {
        // As in the program: the stamp error ends the compile, nothing is written.
        report.fatal = error_number(*c.stamp);
        return report;
    }
    if (!o.write)
        return report;

    std::error_code ec;
    fs::create_directories(r.out_dir, ec);
    if (ec || !fs::is_directory(r.out_dir, ec)) {
        report.status = failure{display_path(r.out_dir) + ": cannot create the output directory"};
        return report;
    }
    if (auto written = scrivi_file_compilati(s, r.out_dir); !written) {
        report.status = failure{describe_failure(written.error())};
        return report;
    }
    for (std::size_t i = r.plan ? 0 : 1; i < outputs.size(); ++i)
        report.written.push_back(outputs[i]);
    return report;
}

}  // namespace scenario::tool

namespace scenario::tool {

namespace fs = std::filesystem;

const char* const compile_description =
    "Compiles a line description and a run description with the program's own\n"
    "compiler and writes the three compiled files into DIR (default: the current\n"
    "directory, created when missing):\n"
    "  NAME_linea.dat           line file (track plan; not written with --no-plan)\n"
    "  NAME_NUMBER.sim          run file\n"
    "  NAME_NUMBER.dat          cell file\n"
    "Without --name or --train they are taken from the file names\n"
    "(NAME_linea.txt, NAME_NUMBER-.txt). The input files are only read, never\n"
    "changed or deleted.\n"
    "\n"
    "Every error the compile records is reported with its number, what is wrong,\n"
    "the position in metres and the file and line behind it:\n"
    "  reader errors stop the reading (as in the program, the files are still\n"
    "  written from what was read); sweep errors (11, 12, 13) let the compile go\n"
    "  on; a fatal stamp error (1250, 1251) stops it and no file is written.\n"
    "The error record the program keeps holds only the last error.";

namespace {

// check --documents: the documents in the directory against those the
// package would write, the ignored codes left out.
void compare_documents(const named_sources& sources, const compile_arguments& a,
                       const std::vector<std::string>& ignored, compile_result& e) {
    std::optional<fs::path> given;
    if (!a.details.empty())
        given = path_from_utf8(a.details);
    result<author_details> details = find_author_details(sources, given);
    if (!details) {
        e.status = failure{details.error()};
        return;
    }
    result<std::vector<document_warning>> found =
        check_documents(sources, *details, path_from_utf8(a.documents));
    if (!found) {
        e.status = failure{found.error()};
        return;
    }
    for (document_warning& w : *found)
        if (std::find(ignored.begin(), ignored.end(), w.code) == ignored.end())
            e.documents.push_back(std::move(w));
}

// Runs a compile or a check: `who` names the command in messages.
int compile_or_check(const compile_arguments& a, bool write, const char* who, std::ostream& out,
                     std::ostream& err) {
    compile_settings o;
    o.write = write;
    o.train = a.model;
    std::vector<std::string> ignored_documents;
    for (const std::string& code : a.ignore) {
        if (std::find(std::begin(document_warning_codes), std::end(document_warning_codes), code) !=
            std::end(document_warning_codes)) {
            ignored_documents.push_back(code);
            continue;
        }
        const auto c = warning_from_name(code);
        if (!c) {
            err << who << ": --ignore: no warning is called '" << valid_utf8(code)
                << "'\nThe codes are listed in '" << who << " --help'.\n";
            return exit_status::usage;
        }
        o.ignored.push_back(*c);
    }

    compile_result e;
    result<named_sources> sources = name_sources(a.line, a.run, a.name, a.train);
    if (!sources) {
        e.status = failure{sources.error()};
    } else {
        if (sources->names.guessed)
            err << who << ": " << describe_guess(sources->names) << "\n";
        const named_sources named = *sources;
        e = compile_sources({std::move(*sources), !a.no_plan, path_from_utf8(a.out)}, o);
        if (!a.documents.empty() && e.status)
            compare_documents(named, a, ignored_documents, e);
    }
    const report_files files{a.line, a.run};
    if (a.json)
        print_report_json(e, files, out);
    else
        print_report_text(e, files, who, a.verbose, out, err);
    if (!e.status) {
        if (!a.json)
            err << who << ": " << e.status.error() << "\n";
        return exit_status::usage;
    }
    // The last line says what came of it; a compile with errors leaves it to
    // the error record's line.
    if (!a.json && e.compiled && (write ? !e.written.empty() && !e.errors_found() : true))
        out << outcome_line(e, write, a.strict) << "\n";
    return e.fails(a.strict) ? exit_status::errors_found : exit_status::success;
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
    "  value-wrapped, profile-order, tunnel-end, slowdown-length, speed-rounded,\n"
    "  tunnel-overlap, tunnel-order, curve-overlap, curve-length,\n"
    "  time-backwards, time-out-of-range, repeated-setting, position-rounded,\n"
    "  progressives-dropped, value-ignored, in-run-off, not-windows-1252,\n"
    "  utf16-file, byte-order-mark, name-not-ascii, run-general-missing,\n"
    "  no-station, running-time.\n"
    "\n"
    "running-time: a scheduled time between two stations with a time that is\n"
    "shorter than the run at the permitted speed all the way (plus the stop at the\n"
    "later one). --json also gives, for each such pair, the scheduled time, that\n"
    "bound, and an estimate from a simple train model (--acceleration, --braking,\n"
    "--train-length; the tool's assumptions, not the scenario's), never warned.\n"
    "\n"
    "With --documents DIR it also reads the train card and the slow order in DIR\n"
    "(NAME_NUMBER_scheda_treno.txt, NAME_NUMBER_rallentamenti.txt; the notes must\n"
    "be readable) and compares them with what 'scenario package' would write\n"
    "from the same sources and details file, warning with the document's file\n"
    "and line:\n"
    "  document-unreadable  missing, or not laid out as the program's document\n"
    "  document-station     a station missing, out of order, or not in the sources\n"
    "  document-time        a station's times differ (a stop's time or dwell)\n"
    "  document-km          a kilometre point or post differs\n"
    "  document-slowdown    a slowdown missing, or another speed or length\n"
    "\n"
    "Exit status 1 when an error is found, a source was not read at all (UTF-16,\n"
    "no \"[generale]\", a general section that never ends, a route of length 0),\n"
    "or, with --strict, a warning.";

int run_check(const compile_arguments& a, std::ostream& out, std::ostream& err) {
    return compile_or_check(a, false, "scenario check", out, err);
}

namespace {

// --strict, --ignore and --verbose, for the commands that compile.
void add_warning_options(CLI::App& c, compile_arguments& a) {
    c.add_flag("--verbose", a.verbose, "List the consequences folded under each warning");
    c.add_flag("--strict", a.strict, "Exit with status 1 on a warning too");
    c.add_option("--ignore", a.ignore, "Do not report these warnings")
        ->delimiter(',')
        ->type_name("CODE[,CODE]");
}

command_run declare_compile(CLI::App& c) {
    auto a = std::make_shared<compile_arguments>();
    add_source_options(c, a->line, a->run, a->name, a->train);
    c.add_option("--out", a->out, "Where the compiled files go (default: the current directory)")
        ->type_name("DIR");
    c.add_flag("--no-plan", a->no_plan, "Compile without the track plan (the program's j = 0)");
    c.add_flag("--json", a->json, "Print one JSON object instead of text");
    add_warning_options(c, *a);
    return [a](std::ostream& out, std::ostream& err) { return run_compile(*a, out, err); };
}

command_run declare_check(CLI::App& c) {
    auto a = std::make_shared<compile_arguments>();
    add_source_options(c, a->line, a->run, a->name, a->train);
    c.add_flag("--no-plan", a->no_plan, "Compile without the track plan (the program's j = 0)");
    c.add_flag("--json", a->json, "Print one JSON object instead of text");
    c.add_option("--documents", a->documents, "Compare the driver's documents in DIR with the sources")
        ->type_name("DIR");
    c.add_option("--details", a->details, "The author's details (JSON), for --documents")->type_name("FILE");
    add_warning_options(c, *a);
    add_train_model_options(c, a->model);
    return [a](std::ostream& out, std::ostream& err) { return run_check(*a, out, err); };
}

}  // namespace

const command compile_command{"compile", "Compile two text sources into the three compiled files.",
                              compile_description, declare_compile};
const command check_command{"check", "Compile two text sources and report, writing nothing.",
                            check_description, declare_check};

}  // namespace scenario::tool
