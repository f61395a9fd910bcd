// `scenario import` on input it cannot use: each case fails with its own
// message, exit status 2, and writes no file.
#include "tests/geodata/import_run.h"
#include "tests/geodata/line_fixtures.h"

#include <gtest/gtest.h>

namespace scenario::test_support {
namespace {

namespace fs = std::filesystem;

std::string line_of(const std::vector<std::string>& coordinates) {
    std::string s = R"({"type":"LineString","coordinates":[)";
    for (std::size_t i = 0; i < coordinates.size(); ++i)
        s += (i ? "," : "") + coordinates[i];
    return s + "]}";
}

std::string straight_line(double metres, double step = 100) {
    return geojson(to_earth(trace({{metres, 0}}, step)));
}

struct bad_case {
    const char* what;
    const char* file;   // its name: the extension picks the reader
    std::string bytes;  // what it holds
    std::vector<std::string> options;
    const char* message;  // a part of the error
};

TEST(ImportBadInput, EachFailsWithItsMessageAndWritesNothing) {
    osm_fixture osm;
    osm.line = to_earth(trace({{1000, 0}}, 10));
    osm.ways = {{7, 0, 100, {{"railway", "rail"}}}};
    osm.relation = 5;
    osm.member_order = {7};
    std::string big_kml = kml(to_earth(trace({{1000, 0}}, 10)));
    big_kml.insert(big_kml.size() - 7, std::string(21u << 20, ' '));
    const std::vector<bad_case> cases = {
        {"an empty file", "empty.geojson", "", {}, "the file is empty"},
        {"not geometry", "text.geojson", "hello, world", {}, "not a geometry file GDAL reads"},
        {"one point", "one.geojson", line_of({"[11,46]"}), {}, "fewer than two points"},
        {"off the Earth", "far.geojson", line_of({"[11,46]", "[11,95]"}), {}, "off the Earth"},
        {"not a number", "nan.geojson", line_of({"[11,46]", "[11,NaN]"}), {}, ""},
        {"infinite", "inf.geojson", line_of({"[11,46]", "[11,1e999]"}), {}, ""},
        {"no coordinate system",
         "line.csv",
         "WKT,id\n\"LINESTRING (0 0,100 0)\",1\n",
         {},
         "coordinate system is unknown"},
        {"too long", "long.geojson", straight_line(1200000, 10000), {}, "at most 1000000 m"},
        {"a relation not in the file",
         "line.osm",
         osm_xml(osm),
         {"--relation", "6"},
         "relation 6 is not in the file"},
        {"a way not in the file", "line.osm", osm_xml(osm), {"--ways", "7,8"}, "way 8 is not in the file"},
        {"a branch",
         "branch.geojson",
         R"({"type":"MultiLineString","coordinates":[[[11,46],[11,46.01]],[[11,46.01],[11,46.02]],[[11,46.01],[11.01,46.01]]]})",
         {},
         "branches at (11.0000000, 46.0100000)"},
        {"a gap",
         "gap.geojson",
         R"({"type":"MultiLineString","coordinates":[[[11,46],[11,46.01]],[[11,46.011],[11,46.02]]]})",
         {},
         "does not join it within 25.0 m"},
        {"a DEM missing the line",
         "line.geojson",
         straight_line(3000),
         {"--dem", "@dem.tif"},
         "do not cover the line km 1.4"},
        {"a KML too big", "big.kml", big_kml, {}, "a KML file over 20 MB is refused"},
        {"a station --start does not know",
         "line.geojson",
         straight_line(3000),
         {"--start", "Nowhere"},
         "no station named 'Nowhere'"},
    };
    for (const bad_case& c : cases) {
        temporary_directory dir("import_bad_");
        write_file(dir / c.file, c.bytes);
        // A raster covering the line's first 1.4 km only.
        write_dem((dir / "dem.tif").string(), 10.99, 45.99, 11.01, 46.0 + 1400 / 111150.0, 40,
                  [](double, double) { return 100.0; });
        std::vector<std::string> options;
        for (const std::string& o : c.options)
            options.push_back(o[0] == '@' ? (dir / o.substr(1)).string() : o);
        const import_run r = run_import(dir / c.file, dir / "out", options);
        EXPECT_EQ(r.output.status, 2) << c.what << ": " << r.output.out;
        EXPECT_NE(r.output.err.find(c.message), std::string::npos) << c.what << ": " << r.output.err;
        EXPECT_EQ(r.output.err.find('\n'), r.output.err.size() - 1)
            << c.what << ": one line: " << r.output.err;
        EXPECT_FALSE(fs::exists(dir / "out")) << c.what;
    }
}

TEST(ImportBadInput, AMissingFileIsNamed) {
    temporary_directory dir("import_missing_");
    const import_run r = run_import(dir / "absent.geojson", dir / "out");
    EXPECT_EQ(r.output.status, 2);
    EXPECT_NE(r.output.err.find("absent.geojson: cannot be read"), std::string::npos) << r.output.err;
}

}  // namespace
}  // namespace scenario::test_support

namespace scenario::test_support {
namespace {

// More stations and tunnels than the format holds: the import succeeds, the
// report names each one dropped and why, and the draft passes `check --strict`.
TEST(ImportBadInput, TooManyStationsAndTunnelsAreDroppedByName) {
    temporary_directory dir("import_too_many_");
    osm_fixture f;
    f.line = to_earth(trace({{40000, 0}}, 100));
    // 100 tunnels of 200 m, each between two ways of open line.
    for (int i = 0; i < 200; ++i) {
        fixture_way w{1000 + i, std::size_t(i * 2), std::size_t(i * 2 + 2), {{"railway", "rail"}}};
        if (i % 2)
            w.tags.push_back({"tunnel", "yes"});
        f.ways.push_back(w);
    }
    for (int i = 0; i < 90; ++i)
        f.free_nodes.push_back({to_earth({{20, 400.0 * i + 200}}).front(),
                                {{"railway", "station"}, {"name", "S" + std::to_string(i)}}});
    write_file(dir / "line.osm", osm_xml(f));
    const import_run r = run_import(dir / "line.osm", dir / "out");
    ASSERT_EQ(r.output.status, 0) << r.output.err;
    const std::string dropped = r.report["dropped"].dump();
    EXPECT_NE(dropped.find("station S89"), std::string::npos) << dropped;
    EXPECT_NE(dropped.find("tunnel"), std::string::npos) << dropped;
    const command_output check = strict_check(dir / "out");
    EXPECT_EQ(check.status, 0) << check.out << check.err;
}

}  // namespace
}  // namespace scenario::test_support
