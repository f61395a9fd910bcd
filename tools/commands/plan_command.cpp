#include "tools/commands/plan_command.h"

#include "common/file_replace.h"
#include "tools/commands/command.h"
#include "tools/commands/exit_status.h"
#include "tools/core/compiled_reader.h"
#include "tools/core/file_io.h"
#include "tools/core/scenario_names.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <system_error>

namespace scenario::tool {

namespace fs = std::filesystem;

const char* const plan_description =
    "Draws the compiled scenario NAME / NUMBER found in DIR as an SVG picture:\n"
    "the track plan from NAME_linea.dat seen from above, with the stations\n"
    "(named), tunnels, signals and slowdowns of NAME_NUMBER.dat and\n"
    "NAME_NUMBER.sim marked along it, and the gradient profile under it.\n"
    "Without a line file (a compile with --no-plan) the line is drawn straight.\n"
    "A line file whose track plan does not fit the cell file (its route has\n"
    "another length: a line file left by an earlier compile of another route)\n"
    "is left out with a warning on standard error and the line is drawn\n"
    "straight; the exit status stays 0.\n"
    "Without --name and --train they are taken from the compiled files in DIR\n"
    "(NAME_NUMBER.sim: DIR must hold one scenario, or the options say which).\n"
    "--svg - writes the picture to standard output.";

int run_plan(const plan_arguments& a, std::ostream& out, std::ostream& err) {
    const fs::path directory = path_from_utf8(a.directory);
    const result<scenario_names> names = compiled_names(directory, a.name, a.train);
    if (!names) {
        err << "scenario plan: " << names.error() << "\n";
        return exit_status::usage;
    }
    if (names->guessed)
        err << "scenario plan: " << describe_guess(*names) << "\n";
    result<compiled_scenario, compiled_read_failure> read =
        read_compiled_scenario(directory, names->name, names->train);
    if (!read) {
        err << "scenario plan: " << read.error().message << "\n";
        return read.error().invalid ? exit_status::errors_found : exit_status::usage;
    }
    for (const std::string& w : read->warnings)
        err << "scenario plan: warning: " << w << "\n";
    plan_data d;
    d.title = names->name + ", train " + names->train;
    d.celle = std::move(read->celle);
    d.voci = std::move(read->voci);
    d.tracciato = std::move(read->tracciato);
    d.plan_left_out = read->plan_left_out;
    const std::string svg = draw_plan(d);
    if (a.svg == "-") {
        out << svg;
        return exit_status::success;
    }
    const fs::path svg_path = path_from_utf8(a.svg);
    if (result<void> written = sostituisci_file(svg_path, svg); !written) {
        err << "scenario plan: " << written.error() << "\n";
        return exit_status::usage;
    }
    out << "wrote " << display_path(svg_path) << "\n";
    return exit_status::success;
}

namespace {
command_run declare_plan(CLI::App& c) {
    auto a = std::make_shared<plan_arguments>();
    c.add_option("--name", a->name, "The scenario name (default: from the compiled files in DIR)")
        ->type_name("NAME");
    c.add_option("--train", a->train, "The train number (default: from the compiled files in DIR)")
        ->type_name("NUMBER");
    add_required(c, "DIR", a->directory, "The directory that holds the compiled files", "");
    add_required(c, "--svg", a->svg, "The picture to write; - for standard output", "OUT.svg");
    return [a](std::ostream& out, std::ostream& err) { return run_plan(*a, out, err); };
}
}  // namespace

const command plan_command{"plan", "Draw a compiled scenario as SVG (plan and gradient profile).",
                           plan_description, declare_plan};

}  // namespace scenario::tool
