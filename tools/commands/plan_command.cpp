#include "tools/commands/plan_command.h"

#include "common/file_replace.h"
#include "compiler/compiled_files.h"
#include "compiler/route_facts.h"
#include "compiler/source_store.h"
#include "tools/commands/exit_status.h"
#include "tools/report/file_io.h"
#include "tools/report/scenario_names.h"

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

result<plan_read, plan_read_failure> read_compiled_scenario(const fs::path& directory,
                                                            const std::string& name,
                                                            const std::string& train) {
    plan_read read;
    plan_data& d = read.data;
    d.title = name + ", train " + train;

    std::optional<plan_read_failure> broken;
    const auto decode = [&](const fs::path& p, auto&& how) -> bool {
        result<std::string> f = read_file(p);
        if (!f) {
            broken = plan_read_failure{f.error(), false};
            return false;
        }
        const esito_decodifica e = how(*f);
        if (!e.ok) {
            broken = plan_read_failure{display_path(p) + ": not a valid compiled file: " + e.messaggio +
                                           " (at byte offset " + std::to_string(e.offset) + ")",
                                       true};
            return false;
        }
        return true;
    };

    const fs::path cells = percorso_in(directory, nome_file_celle_compilato(name, train));
    const fs::path run = percorso_in(directory, nome_file_corsa_compilato(name, train));
    const fs::path line = percorso_in(directory, nome_file_linea_compilato(name));
    if (!decode(cells, [&](std::string_view b) { return decodifica_celle(b, d.celle); }) ||
        !decode(run, [&](std::string_view b) { return decodifica_voci(b, d.voci); }))
        return failure{std::move(*broken)};
    std::error_code ec;
    if (fs::exists(line, ec)) {
        tracciato_linea t;
        if (!decode(line, [&](std::string_view b) { return decodifica_tracciato(b, t); }))
            return failure{std::move(*broken)};
        if (t.esiste() && route::cells_for_plan_points(t.punti()) != d.celle.size()) {
            read.warnings.push_back(
                display_path(line) + " does not belong to " + display_path(cells) + ": its track plan has " +
                std::to_string(t.punti()) + " points, a route of " +
                std::to_string(route::cells_for_plan_points(t.punti())) + " cells, but the cell file has " +
                std::to_string(d.celle.size()) +
                " (a line file left by a compile of another route?); the line is drawn straight");
            d.plan_left_out = true;
        } else if (t.esiste()) {
            d.tracciato = std::move(t);
        }
    }
    return read;
}

int run_plan(const plan_arguments& a, std::ostream& out, std::ostream& err) {
    const fs::path directory = path_from_utf8(a.directory);
    const result<scenario_names> names = compiled_names(directory, a.name, a.train);
    if (!names) {
        err << "scenario plan: " << names.error() << "\n";
        return exit_status::usage;
    }
    if (names->guessed)
        err << "scenario plan: " << describe_guess(*names) << "\n";
    const auto read = read_compiled_scenario(directory, names->name, names->train);
    if (!read) {
        err << "scenario plan: " << read.error().message << "\n";
        return read.error().invalid ? exit_status::errors_found : exit_status::usage;
    }
    for (const std::string& w : read->warnings)
        err << "scenario plan: warning: " << w << "\n";
    const std::string svg = draw_plan(read->data);
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

}  // namespace scenario::tool
