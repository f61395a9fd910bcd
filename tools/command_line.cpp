#include "tools/command_line.h"

#include "common/version.h"
#include "tools/commands/compile_command.h"
#include "tools/commands/dump_command.h"
#include "tools/commands/exit_status.h"
#include "tools/commands/export_command.h"
#include "tools/commands/format_command.h"
#include "tools/commands/import_command.h"
#include "tools/commands/lsp_command.h"
#include "tools/commands/new_command.h"
#include "tools/commands/package_command.h"
#include "tools/commands/plan_command.h"
#include "tools/commands/sources_command.h"
#include "tools/commands/view_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <memory>
#include <new>
#include <sstream>

namespace scenario::tool {

namespace {

const char* const tool_description =
    "A tool for scenario authors: compiles a line description and a run\n"
    "description with the program's own compiler, explains every error in words\n"
    "with its file and line, and shows what the compiled files hold.\n";

const char* const exit_statuses =
    "Exit status: 0 success, 1 the input holds errors (a compile error, an invalid\n"
    "compiled file), 2 usage error, unreadable input or unwritable output.";

const char* const commands[] = {"sources", "new",    "compile", "check", "package", "dump",
                                "plan",    "format", "view",    "lsp",   "import",  "export"};

bool is_command(const std::string& word) {
    return std::find(std::begin(commands), std::end(commands), word) != std::end(commands);
}

// Every value a command can be given, filled in by the parser.
struct all_arguments {
    sources_arguments sources;
    new_arguments new_scenario;
    compile_arguments compile;
    compile_arguments check;
    package_arguments package;
    dump_arguments dump;
    plan_arguments plan;
    format_arguments format;
    view::view_arguments view;
    lsp_arguments lsp;
    import_arguments import_line;
    export_arguments export_route;
};

// The list of commands in the tool's help shows the first line of each
// command's description; the command's own help shows all of it.
class command_list_formatter : public CLI::Formatter {
public:
    std::string make_subcommand(const CLI::App* sub) const override {
        std::stringstream out;
        const std::string& d = sub->get_description();
        CLI::detail::format_help(out, sub->get_display_name(true), d.substr(0, d.find('\n')), column_width_);
        return out.str();
    }
};

// Help lists the options with their descriptions; the longer explanations
// stand before them, the exit statuses after.
CLI::App* add_command(CLI::App& app, const char* name, const char* summary, const char* description) {
    CLI::App* c = app.add_subcommand(name, std::string(summary) + "\n\n" + description + "\n");
    c->group("Commands");
    c->footer(exit_statuses);
    return c;
}

// An option or positional that must be given, shown in help with `type`
// ("" for none).
void add_required(CLI::App* command, const char* name, std::string& value, const char* help,
                  const char* type) {
    command->add_option(name, value, help)->required()->type_name(type);
}

// --strict, --ignore and --verbose, for the commands that compile.
void add_warning_options(CLI::App* command, compile_arguments& a) {
    command->add_flag("--verbose", a.verbose, "List the consequences folded under each warning");
    command->add_flag("--strict", a.strict, "Exit with status 1 on a warning too");
    command->add_option("--ignore", a.ignore, "Do not report these warnings")
        ->delimiter(',')
        ->type_name("CODE[,CODE]");
}

// The running-time estimate's train: every figure the author may set.
void add_train_model_options(CLI::App* command, tool::train_model& m) {
    command->add_option("--acceleration", m.acceleration, "The estimate's acceleration, m/s2 (default 0.5)")
        ->check(CLI::PositiveNumber)
        ->type_name("M/S2");
    command->add_option("--braking", m.braking, "The estimate's braking rate, m/s2 (default 0.5)")
        ->check(CLI::PositiveNumber)
        ->type_name("M/S2");
    command->add_option("--train-length", m.length, "The estimate's train length, m (default 100)")
        ->check(CLI::NonNegativeNumber)
        ->type_name("M");
}

void add_import_command(CLI::App& app, import_arguments& a) {
    CLI::App* c =
        add_command(app, "import", "Fit a draft scenario to a line's geometry (GDAL).", import_description);
    add_required(c, "GEOMETRY", a.geometry, "The geometry file", "");
    add_required(c, "--name", a.name, "The scenario name", "NAME");
    add_required(c, "--train", a.train, "The train number", "NUMBER");
    c->add_option("--out", a.out, "Where the sources go (default: the current directory)")->type_name("DIR");
    c->add_option("--dem", a.dems, "An elevation raster (repeat for several tiles)")->type_name("FILE");
    c->add_flag("--json", a.json, "Print the report as one JSON object");
    c->add_option("--relation", a.relation, "OSM: the route relation to take")->type_name("ID");
    c->add_option("--ways", a.ways, "OSM: the ways to take")->delimiter(',')->type_name("ID,...");
    c->add_option("--start", a.start, "The end the route starts from: a station's name or LON,LAT")
        ->type_name("WHERE");
    c->add_option("--join-gap", a.join_gap, "Join pieces whose ends are this close, m (default 25)")
        ->check(CLI::NonNegativeNumber)
        ->type_name("M");
    c->add_option("--height-tolerance", a.height_tolerance, "Heights kept within RMS and MAX m (default 2,5)")
        ->delimiter(',')
        ->expected(1, 2)
        ->check(CLI::NonNegativeNumber)
        ->type_name("RMS[,MAX]");
    c->add_option("--station-distance", a.station_distance, "Stations this near the line, m (default 150)")
        ->check(CLI::NonNegativeNumber)
        ->type_name("M");
    c->add_option("--start-km", a.start_km, "The first km post when the file has no milestone")
        ->check(CLI::NonNegativeNumber)
        ->type_name("KM");
    c->add_option("--departure", a.departure, "The first station's departure (default 08:00)")
        ->type_name("HH:MM");
    c->add_option("--margin", a.margin, "The timetable's margin over the estimate, % (default 5)")
        ->check(CLI::Range(0.0, 100.0))
        ->type_name("PCT");
}

void add_export_command(CLI::App& app, export_arguments& a) {
    CLI::App* c =
        add_command(app, "export", "Write a compiled scenario as GeoJSON (GDAL).", export_description);
    add_required(c, "DIR", a.directory, "The directory that holds the compiled files", "");
    add_required(c, "--geojson", a.geojson, "The GeoJSON file to write", "FILE");
    c->add_option("--name", a.name, "The scenario name (default: from the compiled files in DIR)")
        ->type_name("NAME");
    c->add_option("--train", a.train, "The train number (default: from the compiled files in DIR)")
        ->type_name("NUMBER");
    c->add_option("--origin", a.origin, "Where the route starts")
        ->delimiter(',')
        ->expected(2)
        ->type_name("LAT,LON");
    c->add_option("--heading", a.heading, "The route's first heading, degrees clockwise from north")
        ->check(CLI::Range(-360.0, 360.0))
        ->type_name("DEG");
}

void describe(CLI::App& app, all_arguments& a) {
    auto formatter = std::make_shared<command_list_formatter>();
    formatter->label("SUBCOMMAND", "COMMAND");
    app.formatter(formatter);
    app.description(tool_description);
    app.footer("'scenario COMMAND --help' (or 'scenario help COMMAND') describes each command.\n\n" +
               std::string(exit_statuses));
    app.set_version_flag("--version", std::string("scenario ") + program_version,
                         "Print the version and exit");
    app.require_subcommand(1);

    CLI::App* sources =
        add_command(app, "sources", "Write the program's five text files into DIR.", sources_description);
    add_required(sources, "DIR", a.sources.directory, "The directory to write into", "");
    sources->add_flag("--force", a.sources.force, "Replace files that exist already");

    CLI::App* new_scenario = add_command(
        app, "new", "Write the two text sources of a small new scenario into DIR.", new_description);
    add_required(new_scenario, "NAME", a.new_scenario.name, "The scenario name", "");
    add_required(new_scenario, "NUMBER", a.new_scenario.train, "The train number", "");
    add_required(new_scenario, "DIR", a.new_scenario.directory, "The directory to write into", "");
    new_scenario->add_flag("--force", a.new_scenario.force, "Replace files that exist already");

    CLI::App* compile = add_command(app, "compile", "Compile two text sources into the three compiled files.",
                                    compile_description);
    add_required(compile, "--line", a.compile.line, "The line description text source", "FILE");
    add_required(compile, "--run", a.compile.run, "The run description text source", "FILE");
    compile->add_option("--name", a.compile.name, "The scenario name (default: from the file names)")
        ->type_name("NAME");
    compile->add_option("--train", a.compile.train, "The train number (default: from the file names)")
        ->type_name("NUMBER");
    compile
        ->add_option("--out", a.compile.out, "Where the compiled files go (default: the current directory)")
        ->type_name("DIR");
    compile->add_flag("--no-plan", a.compile.no_plan, "Compile without the track plan (the program's j = 0)");
    compile->add_flag("--json", a.compile.json, "Print one JSON object instead of text");
    add_warning_options(compile, a.compile);

    CLI::App* check =
        add_command(app, "check", "Compile two text sources and report, writing nothing.", check_description);
    add_required(check, "--line", a.check.line, "The line description text source", "FILE");
    add_required(check, "--run", a.check.run, "The run description text source", "FILE");
    check->add_option("--name", a.check.name, "The scenario name (default: from the file names)")
        ->type_name("NAME");
    check->add_option("--train", a.check.train, "The train number (default: from the file names)")
        ->type_name("NUMBER");
    check->add_flag("--no-plan", a.check.no_plan, "Compile without the track plan (the program's j = 0)");
    check->add_flag("--json", a.check.json, "Print one JSON object instead of text");
    check
        ->add_option("--documents", a.check.documents,
                     "Compare the driver's documents in DIR with the sources")
        ->type_name("DIR");
    check->add_option("--details", a.check.details, "The author's details (JSON), for --documents")
        ->type_name("FILE");
    add_warning_options(check, a.check);
    add_train_model_options(check, a.check.model);

    CLI::App* package = add_command(app, "package", "Write the compiled files and the driver's documents.",
                                    package_description);
    add_required(package, "--line", a.package.line, "The line description text source", "FILE");
    add_required(package, "--run", a.package.run, "The run description text source", "FILE");
    package->add_option("--name", a.package.name, "The scenario name (default: from the file names)")
        ->type_name("NAME");
    package->add_option("--train", a.package.train, "The train number (default: from the file names)")
        ->type_name("NUMBER");
    package->add_option("--out", a.package.out, "Where the package goes (default: the current directory)")
        ->type_name("DIR");
    package->add_option("--details", a.package.details, "The author's details (JSON)")->type_name("FILE");

    CLI::App* dump = add_command(app, "dump", "Decode compiled files into JSON.", dump_description);
    dump->add_option("FILE", a.dump.files, "Compiled files (may be left out with --line and --run)")
        ->type_name("");
    dump->add_option("--points", a.dump.points, "Also the plan points FROM to TO of a line file")
        ->type_name("FROM:TO");
    dump->add_option("--kind", a.dump.kind, "Decode as this kind of file whatever its name")
        ->type_name("line|run|cells");
    dump->add_option("--cells", a.dump.cells, "Only the cells FROM to TO of a cell file")
        ->type_name("FROM:TO");
    dump->add_flag("--non-empty", a.dump.non_empty, "Only the cells where something stands");
    dump->add_option("--line", a.dump.line, "The line description the files come from")->type_name("FILE");
    dump->add_option("--run", a.dump.run, "The run description the files come from")->type_name("FILE");
    dump->add_option("--name", a.dump.name, "The scenario name (default: from the file names)")
        ->type_name("NAME");
    dump->add_option("--train", a.dump.train, "The train number (default: from the file names)")
        ->type_name("NUMBER");
    dump->add_flag("--no-plan", a.dump.no_plan, "Compile the sources without the track plan");

    CLI::App* plan = add_command(app, "plan", "Draw a compiled scenario as SVG (plan and gradient profile).",
                                 plan_description);
    plan->add_option("--name", a.plan.name, "The scenario name (default: from the compiled files in DIR)")
        ->type_name("NAME");
    plan->add_option("--train", a.plan.train, "The train number (default: from the compiled files in DIR)")
        ->type_name("NUMBER");
    add_required(plan, "DIR", a.plan.directory, "The directory that holds the compiled files", "");
    add_required(plan, "--svg", a.plan.svg, "The picture to write; - for standard output", "OUT.svg");

    CLI::App* format = add_command(app, "format", "Describe the text sources' format, keyword by keyword.",
                                   format_description);
    format->add_option("KEYWORD", a.format.words, "The keyword to describe (default: every keyword)")
        ->type_name("");
    format->add_flag("--json", a.format.json, "Print one JSON object instead of text");

    CLI::App* view = add_command(app, "view", "Show two text sources on a local web page that follows them.",
                                 view::view_description);
    add_required(view, "--line", a.view.line, "The line description text source", "FILE");
    add_required(view, "--run", a.view.run, "The run description text source", "FILE");
    view->add_option("--name", a.view.name, "The scenario name (default: from the line file's name)")
        ->type_name("NAME");
    view->add_option("--train", a.view.train, "The train number (default: from the run file's name)")
        ->type_name("NUMBER");
    view->add_option("--port", a.view.port, "The port to listen on (default: a free one)")
        ->type_name("N")
        ->check(CLI::Range(0, 65535));
    view->add_option("--host", a.view.host,
                     "Listen on ADDRESS instead of 127.0.0.1 (others can then read it)")
        ->type_name("ADDRESS");
    view->add_flag("--open", a.view.open, "Open the page in the default browser");
    add_train_model_options(view, a.view.model);

    add_command(app, "lsp", "Serve editors as a language server on standard input and output.",
                lsp_description);
    add_import_command(app, a.import_line);
    add_export_command(app, a.export_route);
}

int run_parsed(const CLI::App& app, const all_arguments& a, std::ostream& out, std::ostream& err) {
    if (app.got_subcommand("sources"))
        return run_sources(a.sources, out, err);
    if (app.got_subcommand("new"))
        return run_new(a.new_scenario, out, err);
    if (app.got_subcommand("compile"))
        return run_compile(a.compile, out, err);
    if (app.got_subcommand("check"))
        return run_check(a.check, out, err);
    if (app.got_subcommand("package"))
        return run_package(a.package, out, err);
    if (app.got_subcommand("dump"))
        return run_dump(a.dump, out, err);
    if (app.got_subcommand("format"))
        return run_format(a.format, out, err);
    if (app.got_subcommand("lsp"))
        return run_lsp(a.lsp, out, err);
    if (app.got_subcommand("view"))
        return view::run_view(a.view, out, err);
    if (app.got_subcommand("import"))
        return run_import(a.import_line, out, err);
    if (app.got_subcommand("export"))
        return run_export(a.export_route, out, err);
    return run_plan(a.plan, out, err);
}

}  // namespace

int run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = words;
    // `scenario help [COMMAND]` is `scenario [COMMAND] --help`.
    if (!args.empty() && args[0] == "help") {
        args.erase(args.begin());
        args.push_back("--help");
    }
    const std::string command = !args.empty() && is_command(args[0]) ? args[0] : std::string();
    const std::string who = command.empty() ? "scenario" : "scenario " + command;
    if (args.empty()) {
        err << "scenario: give a command: sources, new, compile, check, dump, plan, format, view, lsp, "
               "import or export\nTry "
               "'scenario "
               "--help'.\n";
        return exit_status::usage;
    }
    if (command.empty() && args[0] != "--help" && args[0] != "-h" && args[0] != "--version") {
        err << "scenario: unknown " << (args[0].rfind('-', 0) == 0 ? "option" : "command") << " '" << args[0]
            << "'\nTry 'scenario --help'.\n";
        return exit_status::usage;
    }

    CLI::App app("", "scenario");
    all_arguments a;
    try {
        describe(app, a);
        std::reverse(args.begin(), args.end());  // the parser takes the words last first
        app.parse(args);
    } catch (const CLI::CallForHelp&) {
        // The help of the command that was asked about, or of the tool.
        out << app.help();
        return exit_status::success;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << "\n";
        return exit_status::success;
    } catch (const CLI::ParseError& e) {
        err << who << ": " << e.what() << "\nTry '" << who << " --help'.\n";
        return exit_status::usage;
    }

    try {
        return run_parsed(app, a, out, err);
    } catch (const std::bad_alloc&) {
        err << who << ": out of memory\n";
    } catch (const std::exception& e) {
        err << who << ": " << e.what() << "\n";
    }
    return exit_status::usage;
}

}  // namespace scenario::tool
