#include "tools/commands/import_command.h"

#include "tools/commands/exit_status.h"
#include "tools/geodata/import_pipeline.h"
#include "tools/report/file_io.h"

#include <cstdio>

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

}  // namespace scenario::tool
