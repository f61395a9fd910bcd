// `scenario import` from each format: an OpenStreetMap file (a relation of
// ways out of order, a tunnel way, stations and halts, a signal, speed limits,
// a km post) gives the expected lines, and one line written as GeoJSON, GPX
// and KML gives the same sources; heights come from a GeoTIFF or an ASCII
// grid; every import passes `check --strict`.
#include "tests/geodata/import_run.h"
#include "tests/geodata/line_fixtures.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace scenario::test_support {
namespace {

// The fixture line: 5416 m of straights and two arcs, a point every 10 m.
const std::vector<route_part> parts = {{1000, 0}, {523.6, 1000}, {1500, 0}, {392.7, 500, true}, {2000, 0}};

std::vector<lon_lat> fixture_line() {
    return to_earth(trace(parts, 10));
}

// A point `off` metres to the right of the line's point i.
lon_lat beside(std::size_t i, double off) {
    const auto plane = trace(parts, 10);
    const xy a = plane[i], b = plane[i + 1];
    const double dx = b.x - a.x, dy = b.y - a.y, n = std::hypot(dx, dy);
    return to_earth({{a.x + off * dy / n, a.y - off * dx / n}}).front();
}

// A plane tilted to the north-east with a hill of 80 m over the tunnel.
double ground(double lon, double lat) {
    const double east = (lon - 11.0) * 77400, north = (lat - 46.0) * 111150;
    const double hill =
        80 * std::exp(-(std::pow(east - 100, 2) + std::pow(north - 1900, 2)) / (2 * 250.0 * 250));
    return 300 + 0.004 * north + 0.002 * east + hill;
}

osm_fixture osm_line() {
    osm_fixture f;
    f.line = fixture_line();
    const std::size_t last = f.line.size() - 1;
    f.ways = {{11, 0, 150, {{"railway", "rail"}, {"maxspeed", "100"}}},
              {12,
               150,
               210,
               {{"railway", "rail"}, {"tunnel", "yes"}, {"name", "Galleria del Colle"}, {"maxspeed", "100"}}},
              {13, 210, 400, {{"railway", "rail"}, {"maxspeed", "80"}}},
              {14, 400, last, {{"railway", "rail"}, {"maxspeed", "120 mph"}}},
              {15, 300, 310, {{"railway", "rail"}, {"service", "siding"}}}};
    f.relation = 900;
    f.member_order = {13, 11, 14, 12};
    f.line_nodes = {{300, {{}, {{"railway", "halt"}, {"name", "Beta"}}}},
                    {280, {{}, {{"railway", "signal"}, {"ref", "S1"}}}},
                    {40, {{}, {{"railway", "milestone"}, {"railway:position", "12.4"}}}},
                    {520, {{}, {{"public_transport", "stop_position"}, {"name", "Gamma"}}}}};
    f.free_nodes = {{beside(20, 30), {{"railway", "station"}, {"name", "Alpha"}}},
                    {beside(510, -60), {{"railway", "station"}, {"name", "Gamma"}}},
                    {beside(250, 500), {{"railway", "station"}, {"name", "Lontano"}}}};
    return f;
}

TEST(ImportFormats, AnOsmRelationGivesTheLineItsTagsDescribe) {
    temporary_directory dir("import_osm_");
    write_file(dir / "line.osm", osm_xml(osm_line()));
    write_dem((dir / "dem.tif").string(), 10.98, 45.98, 11.03, 46.06, 200, ground);
    const import_run r =
        run_import(dir / "line.osm", dir.path(), {"--relation", "900", "--dem", (dir / "dem.tif").string()});
    ASSERT_EQ(r.output.status, 0) << r.output.err;
    const auto& j = r.report;
    EXPECT_NEAR(j["line_length"].get<double>(), 5416.3, 1.0);
    EXPECT_EQ(j["start_km_m"], 12000);
    EXPECT_NE(j["start"].get<std::string>().find("first piece"), std::string::npos);
    // The stations in route order with the timetable's times rising.
    ASSERT_EQ(j["timetable"].size(), 3u) << j.dump(1);
    EXPECT_EQ(j["timetable"][0]["name"], "ALPHA");
    EXPECT_EQ(j["timetable"][1]["name"], "BETA");
    EXPECT_EQ(j["timetable"][2]["name"], "GAMMA");
    EXPECT_EQ(j["timetable"][0]["departure"], "08:00:00");
    // Gamma stands at its stop position on the track, not at its station node.
    EXPECT_NEAR(j["timetable"][2]["position"].get<double>(), 5200, 50);
    const std::string taken = j["taken"].dump();
    // Metres along the line: points every 10 m on the straights, a little
    // less on the arcs (the first arc's way ends at point 150, 1494 m).
    for (const char* what : {"tunnel Galleria del Colle from 1494 m to 2094 m", "signal at 2794 m (S1)",
                             "speed limit 100 km/h from 0 m", "speed limit 80 km/h from 2094 m",
                             "speed limit 190 km/h from 3986 m", "first km post 12000 m"})
        EXPECT_NE(taken.find(what), std::string::npos) << what << " not in " << taken;
    EXPECT_NE(j["dropped"].dump().find("farther than 150 m"), std::string::npos);
    // The hill over the tunnel does not enter the profile: heights within a
    // few metres of the plane, not 80 m above it.
    EXPECT_LT(j["height_error"]["max"].get<double>(), 5.0);
    EXPECT_NE(r.line.find("(GALLERIA DEL COLLE)"), std::string::npos);
    const command_output check = strict_check(dir.path());
    EXPECT_EQ(check.status, 0) << check.out << check.err;
}

TEST(ImportFormats, OsmWaysAndTheRailwayWaysOfAFileGiveTheSameLine) {
    temporary_directory dir("import_osm_ways_");
    osm_fixture f = osm_line();
    f.ways.pop_back();  // no siding: the railway ways are one path
    write_file(dir / "line.osm", osm_xml(f));
    const import_run by_relation = run_import(dir / "line.osm", dir / "a", {"--relation", "900"});
    const import_run by_ways = run_import(dir / "line.osm", dir / "b", {"--ways", "11,12,13,14"});
    const import_run all_ways = run_import(dir / "line.osm", dir / "c");
    ASSERT_EQ(by_relation.output.status, 0) << by_relation.output.err;
    ASSERT_EQ(by_ways.output.status, 0) << by_ways.output.err;
    ASSERT_EQ(all_ways.output.status, 0) << all_ways.output.err;
    EXPECT_EQ(by_ways.line, by_relation.line);
    EXPECT_EQ(all_ways.line, by_relation.line);
    EXPECT_EQ(all_ways.run, by_relation.run);
    const command_output check = strict_check(dir / "c");
    EXPECT_EQ(check.status, 0) << check.out << check.err;
}

TEST(ImportFormats, TheSameLineAsGeoJsonGpxAndKmlGivesTheSameSources) {
    temporary_directory dir("import_formats_");
    const std::vector<lon_lat> line = fixture_line();
    const std::vector<fixture_point> stations = {
        {beside(20, 30), {{"railway", "station"}, {"name", "Alpha"}}},
        {beside(300, 0), {{"railway", "halt"}, {"name", "Beta"}}},
        {beside(520, 10), {{"railway", "station"}, {"name", "Gamma"}}}};
    write_file(dir / "line.geojson", geojson(line, stations));
    write_file(dir / "line.gpx", gpx(line, stations));
    write_file(dir / "line.kml", kml(line, stations));
    write_dem((dir / "dem.asc").string(), 10.98, 45.98, 11.06, 46.06, 160, ground, true);
    std::vector<import_run> runs;
    for (const char* file : {"line.geojson", "line.gpx", "line.kml"}) {
        runs.push_back(run_import(dir / file, dir / (std::string(file) + ".out"),
                                  {"--dem", (dir / "dem.asc").string()}));
        ASSERT_EQ(runs.back().output.status, 0) << file << ": " << runs.back().output.err;
        const command_output check = strict_check(dir / (std::string(file) + ".out"));
        EXPECT_EQ(check.status, 0) << file << ": " << check.out << check.err;
    }
    EXPECT_EQ(runs[0].report["timetable"].size(), 3u);
    for (std::size_t i = 1; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].line, runs[0].line) << i;
        EXPECT_EQ(runs[i].run, runs[0].run) << i;
    }
}

TEST(ImportFormats, StartPicksTheEndAStationOrAPointNames) {
    temporary_directory dir("import_start_");
    const std::vector<lon_lat> line = fixture_line();
    write_file(dir / "line.geojson",
               geojson(line, {{beside(520, 10), {{"railway", "station"}, {"name", "Gamma"}}},
                              {beside(20, 10), {{"railway", "station"}, {"name", "Alpha"}}}}));
    const import_run by_name =
        run_import(dir / "line.geojson", dir / "a", {"--start", "gamma", "--start-km", "7.32"});
    ASSERT_EQ(by_name.output.status, 0) << by_name.output.err;
    EXPECT_EQ(by_name.report["start_km_m"], 7300);  // no milestone: --start-km, to the nearest 50 m
    EXPECT_NE(by_name.report["start"].get<std::string>().find("station gamma"), std::string::npos);
    EXPECT_EQ(by_name.report["timetable"][0]["name"], "GAMMA");
    const lon_lat end = line.back();
    const import_run by_point =
        run_import(dir / "line.geojson", dir / "b",
                   {"--start", number(end.lon) + "," + number(end.lat), "--start-km", "7.3"});
    ASSERT_EQ(by_point.output.status, 0) << by_point.output.err;
    EXPECT_EQ(by_point.line, by_name.line);
    EXPECT_EQ(by_point.run, by_name.run);
    const command_output check = strict_check(dir / "a");
    EXPECT_EQ(check.status, 0) << check.out << check.err;
}

}  // namespace
}  // namespace scenario::test_support
