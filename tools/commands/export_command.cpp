#include "tools/commands/export_command.h"

#include "common/file_replace.h"
#include "tools/commands/command.h"
#include "tools/commands/exit_status.h"
#include "tools/core/file_io.h"
#include "tools/core/scenario_names.h"
#include "tools/geodata/route_export.h"

#include <CLI/CLI.hpp>
#include <memory>

namespace scenario::tool {

const char* const export_description =
    "Writes the compiled scenario in DIR as GeoJSON in longitude and latitude:\n"
    "the route as a LineString with heights from its gradients, laid metre by\n"
    "metre along the plan's heading (km k of the route lies k km along the\n"
    "line), and features for its stations, signals, slowdowns and tunnels with\n"
    "their names and km. The route is placed by NAME_geo.json in DIR (written by\n"
    "'import'), or by --origin LAT,LON and --heading DEG (clockwise from north).";

int run_export(const export_arguments& a, std::ostream& out, std::ostream& err) {
    if (const std::string missing = geodata::geodata_missing(); !missing.empty()) {
        err << "scenario export: " << missing << "\n";
        return exit_status::usage;
    }
    const std::filesystem::path directory = path_from_utf8(a.directory);
    const result<scenario_names> names = compiled_names(directory, a.name, a.train);
    if (!names) {
        err << "scenario export: " << names.error() << "\n";
        return exit_status::usage;
    }
    geodata::export_options o;
    o.directory = directory;
    o.name = names->name;
    o.train = names->train;
    if (!a.origin.empty() || a.heading <= 360) {
        if (a.origin.size() != 2 || a.heading > 360) {
            err << "scenario export: give both --origin LAT,LON and --heading DEG\n";
            return exit_status::usage;
        }
        o.origin_lat = a.origin[0];
        o.origin_lon = a.origin[1];
        o.heading_deg = a.heading;
    }
    auto done = geodata::export_geojson(o);
    if (!done) {
        err << "scenario export: " << done.error() << "\n";
        return exit_status::usage;
    }
    const std::filesystem::path file = path_from_utf8(a.geojson);
    if (auto w = sostituisci_file(file, done->geojson); !w) {
        err << "scenario export: " << w.error() << "\n";
        return exit_status::usage;
    }
    out << "wrote " << display_path(file) << " (placed by " << done->placed_from << ")\n";
    return exit_status::success;
}

namespace {
command_run declare_export(CLI::App& c) {
    auto a = std::make_shared<export_arguments>();
    add_required(c, "DIR", a->directory, "The directory that holds the compiled files", "");
    add_required(c, "--geojson", a->geojson, "The GeoJSON file to write", "FILE");
    c.add_option("--name", a->name, "The scenario name (default: from the compiled files in DIR)")
        ->type_name("NAME");
    c.add_option("--train", a->train, "The train number (default: from the compiled files in DIR)")
        ->type_name("NUMBER");
    c.add_option("--origin", a->origin, "Where the route starts")
        ->delimiter(',')
        ->expected(2)
        ->type_name("LAT,LON");
    c.add_option("--heading", a->heading, "The route's first heading, degrees clockwise from north")
        ->check(CLI::Range(-360.0, 360.0))
        ->type_name("DEG");
    return [a](std::ostream& out, std::ostream& err) { return run_export(*a, out, err); };
}
}  // namespace

const command export_command{"export", "Write a compiled scenario as GeoJSON (GDAL).", export_description,
                             declare_export};

}  // namespace scenario::tool
