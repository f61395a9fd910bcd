// The program's own route exported as GeoJSON (anywhere on the Earth, any
// heading) and imported back with no height tolerance: the same curves
// (classes, sides, lengths, positions within a metre) and the same gradient
// in every cell. The exported route is made of the format's own arcs and
// gradients, so anything less is a fault of the export, the import or the fit.
#include "common/line_list.h"
#include "compiler/route_facts.h"
#include "sources/writers.h"
#include "tests/geodata/import_run.h"
#include "tests/geodata/line_fixtures.h"
#include "tools/core/memory_compile.h"

#include <gtest/gtest.h>
#include <regex>

namespace scenario::test_support {
namespace {

struct curve {
    char side;
    int curve_class;
    int64_t start, length;
};

std::vector<curve> curves_of(const std::string& line_text) {
    std::vector<curve> out;
    static const std::regex re(R"(\ncurva([dsDS])([1-6])\s*,\s*(\d+)\s*,\s*(\d+))");
    for (std::sregex_iterator it(line_text.begin(), line_text.end(), re), end; it != end; ++it)
        out.push_back({char(std::tolower((*it)[1].str()[0])), std::stoi((*it)[2]), std::stoll((*it)[3]),
                       std::stoll((*it)[4])});
    return out;
}

std::vector<int> gradient_cells(const std::string& line, const std::string& run) {
    tool::compiled_sources c = tool::compile_texts(line, run, {"Prova", "4127", false}, false);
    const int64_t length = route::route_length(c.state->celle, c.state->voci);
    std::vector<int> g;
    for (int64_t m = 0; m < length; m += 50)
        g.push_back(route::cell_gradient(c.state->celle[std::size_t(m / 50)]));
    return g;
}

TEST(ExportRoundTrip, TheProgramsRouteComesBackWithItsCurvesAndGradients) {
    temporary_directory dir("export_round_trip_");
    const std::string line = testo_lista(sorgenti::righe_linea()), run = testo_lista(sorgenti::righe_treno());
    std::filesystem::create_directories(dir / "src");
    write_file(dir / "src" / "Calvena_Roccalba_linea.txt", line);
    write_file(dir / "src" / "Calvena_Roccalba_4127-.txt", run);
    const command_output compiled =
        run_tool({"compile", "--line", (dir / "src" / "Calvena_Roccalba_linea.txt").string(), "--run",
                  (dir / "src" / "Calvena_Roccalba_4127-.txt").string(), "--out", (dir / "bin").string()});
    ASSERT_EQ(compiled.status, 0) << compiled.err;
    for (const auto& [origin, heading] : std::vector<std::pair<std::string, std::string>>{
             {"44.1,10.9", "123.4"}, {"-33.9,151.2", "0"}, {"60.2,24.9", "271.05"}}) {
        SCOPED_TRACE(origin + " heading " + heading);
        const auto geo = dir / "route.geojson";
        const command_output exported = run_tool({"export", (dir / "bin").string(), "--geojson", geo.string(),
                                                  "--origin", origin, "--heading", heading});
        ASSERT_EQ(exported.status, 0) << exported.err;
        const import_run back = run_import(geo, dir / "back", {"--height-tolerance", "0"});
        ASSERT_EQ(back.output.status, 0) << back.output.err;

        const std::vector<curve> want = curves_of(line), got = curves_of(back.line);
        ASSERT_EQ(got.size(), want.size()) << back.line;
        for (std::size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(got[i].side, want[i].side) << "curve " << i;
            EXPECT_EQ(got[i].curve_class, want[i].curve_class) << "curve " << i;
            EXPECT_EQ(got[i].length, want[i].length) << "curve " << i;
            EXPECT_LE(std::llabs(got[i].start - want[i].start), 1) << "curve " << i;
        }
        EXPECT_EQ(gradient_cells(back.line, back.run), gradient_cells(line, run));
        // The stations, signals and tunnels exported come back from their features.
        EXPECT_EQ(back.report["timetable"].size(), 12u);
        const command_output check = strict_check(dir / "back");
        EXPECT_EQ(check.status, 0) << check.out << check.err;
    }
}

TEST(ExportRoundTrip, ExportPlacesTheRouteByTheGeoRecordOfAnImport) {
    temporary_directory dir("export_geo_record_");
    const auto plane = trace({{1500, 0}, {785.4, 1000}, {1500, 0}}, 10, 30);
    write_file(dir / "line.geojson", geojson(to_earth(plane, 7.5, 45.5)));
    const import_run r = run_import(dir / "line.geojson", dir / "out");
    ASSERT_EQ(r.output.status, 0) << r.output.err;
    ASSERT_TRUE(std::filesystem::exists(dir / "out" / "Prova_geo.json"));
    const command_output check = strict_check(dir / "out");
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    const command_output compiled =
        run_tool({"compile", "--line", (dir / "out" / "Prova_linea.txt").string(), "--run",
                  (dir / "out" / "Prova_4127-.txt").string(), "--out", (dir / "out").string()});
    ASSERT_EQ(compiled.status, 0) << compiled.err;
    const command_output exported =
        run_tool({"export", (dir / "out").string(), "--geojson", (dir / "back.geojson").string()});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_NE(exported.out.find("Prova_geo.json"), std::string::npos);
    // The route's end lies where the line's end does, within the fit's
    // lateral deviation.
    const auto j = nlohmann::json::parse(read_file(dir / "back.geojson"));
    const auto& route = j["features"][0]["geometry"]["coordinates"];
    const lon_lat end{route.back()[0].get<double>(), route.back()[1].get<double>()};
    auto p = geodata::local_projection::centred_on(7.5, 45.5);
    const xy e = p->forward({end}).value().front();
    EXPECT_LT(std::hypot(e.x - plane.back().x, e.y - plane.back().y), 5.0);
}

}  // namespace
}  // namespace scenario::test_support
