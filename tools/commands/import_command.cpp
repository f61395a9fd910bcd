#include "tools/commands/import_command.h"

#include "tools/commands/command.h"
#include "tools/commands/exit_status.h"
#include "tools/core/file_io.h"
#include "tools/geodata/import_pipeline.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

namespace scenario::tool {

const char* const import_description =
    "Reads a line's geometry (GeoJSON, GPX track or route, KML, OpenStreetMap\n"
    "XML or PBF, GeoPackage, Shapefile: what GDAL reads) and writes a draft\n"
    "scenario into DIR: NAME_linea.txt and NAME_NUMBER-.txt, the report\n"
    "NAME_import.txt and NAME_geo.json (where the route lies on the Earth, for\n"
    "'export' and the page). The line's bends become arcs of the six curve\n"
    "classes, its heights whole per-mille gradients; tunnels, bridges,\n"
    "stations, halts, signals, speed limits and km posts come from its tags.\n"
    "The timetable is a draft: the running-time estimate plus --margin.\n"
    "Heights: the file's own, else the --dem rasters, else flat (warned).\n"
    "Existing files are replaced whole; on an error nothing is written.";

namespace {

// "HH:MM" or "HH:MM:SS" as seconds after midnight; -1 when not a time.
int32_t parse_clock(const std::string& t) {
    int h = 0, m = 0, s = 0;
    char rest = 0;
    const int n = std::sscanf(t.c_str(), "%d:%d:%d%c", &h, &m, &s, &rest);
    if ((n != 2 && n != 3) || h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        return -1;
    return h * 3600 + m * 60 + s;
}

}  // namespace

int run_import(const import_arguments& a, std::ostream& out, std::ostream& err) {
    geodata::import_options o;
    o.geometry = path_from_utf8(a.geometry);
    o.name = a.name;
    o.train = a.train;
    for (const std::string& d : a.dems)
        o.dems.push_back(path_from_utf8(d));
    o.read.relation = a.relation;
    o.read.ways.assign(a.ways.begin(), a.ways.end());
    o.start = a.start;
    o.join_gap = a.join_gap;
    if (!a.height_tolerance.empty()) {
        o.fit.height_rms = a.height_tolerance[0];
        o.fit.height_max =
            a.height_tolerance.size() > 1 ? a.height_tolerance[1] : 2.5 * a.height_tolerance[0];
    }
    o.station_distance = a.station_distance;
    if (a.start_km >= 0)
        o.start_km = a.start_km;
    o.departure = parse_clock(a.departure);
    if (o.departure < 0) {
        err << "scenario import: --departure must be HH:MM, not '" << a.departure << "'\n";
        return exit_status::usage;
    }
    o.margin_percent = a.margin;
    auto done = geodata::import_line(o);
    if (!done) {
        err << "scenario import: " << done.error() << "\n";
        return exit_status::usage;
    }
    std::vector<std::filesystem::path> written;
    if (auto w = write_files(path_from_utf8(a.out), done->files, true, &written); !w) {
        err << "scenario import: " << w.error() << "\n";
        return exit_status::usage;
    }
    if (a.json) {
        out << done->report.dump(2) << "\n";
    } else {
        out << done->report_text;
        for (const auto& p : written)
            out << "wrote " << display_path(p) << "\n";
    }
    return exit_status::success;
}

namespace {
command_run declare_import(CLI::App& c) {
    auto a = std::make_shared<import_arguments>();
    add_required(c, "GEOMETRY", a->geometry, "The geometry file", "");
    add_required(c, "--name", a->name, "The scenario name", "NAME");
    add_required(c, "--train", a->train, "The train number", "NUMBER");
    c.add_option("--out", a->out, "Where the sources go (default: the current directory)")->type_name("DIR");
    c.add_option("--dem", a->dems, "An elevation raster (repeat for several tiles)")->type_name("FILE");
    c.add_flag("--json", a->json, "Print the report as one JSON object");
    c.add_option("--relation", a->relation, "OSM: the route relation to take")->type_name("ID");
    c.add_option("--ways", a->ways, "OSM: the ways to take")->delimiter(',')->type_name("ID,...");
    c.add_option("--start", a->start, "The end the route starts from: a station's name or LON,LAT")
        ->type_name("WHERE");
    c.add_option("--join-gap", a->join_gap, "Join pieces whose ends are this close, m (default 25)")
        ->check(CLI::NonNegativeNumber)
        ->type_name("M");
    c.add_option("--height-tolerance", a->height_tolerance, "Heights kept within RMS and MAX m (default 2,5)")
        ->delimiter(',')
        ->expected(1, 2)
        ->check(CLI::NonNegativeNumber)
        ->type_name("RMS[,MAX]");
    c.add_option("--station-distance", a->station_distance, "Stations this near the line, m (default 150)")
        ->check(CLI::NonNegativeNumber)
        ->type_name("M");
    c.add_option("--start-km", a->start_km, "The first km post when the file has no milestone")
        ->check(CLI::NonNegativeNumber)
        ->type_name("KM");
    c.add_option("--departure", a->departure, "The first station's departure (default 08:00)")
        ->type_name("HH:MM");
    c.add_option("--margin", a->margin, "The timetable's margin over the estimate, % (default 5)")
        ->check(CLI::Range(0.0, 100.0))
        ->type_name("PCT");
    return [a](std::ostream& out, std::ostream& err) { return run_import(*a, out, err); };
}
}  // namespace

const command import_command{"import", "Fit a draft scenario to a line's geometry (GDAL).",
                             import_description, declare_import};

}  // namespace scenario::tool
