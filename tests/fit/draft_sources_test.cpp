// The draft's two sources: what `check --strict` says of them (nothing), the
// format's limits applied with what was dropped and why, and names in the
// program's upper case Windows-1252.
#include "tools/fit/draft_sources.h"

#include "tests/fit/strict_findings.h"
#include "tools/fit/place_names.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scenario::fit {
namespace {

// A line of `length` metres: a straight, a bend, a straight, a slope.
fitted_line some_line(int64_t length) {
    line_input in;
    for (int64_t m = 0; m <= length; m += 10) {
        const double s = static_cast<double>(m);
        const double bend = s < 3000 ? 0 : std::min(s - 3000, 1000.0);
        in.points.push_back({bend * bend / 4000, s});
        in.heights.push_back(100 + 0.008 * s);
    }
    result<fitted_line> f = fit_line(in, {});
    EXPECT_TRUE(f.ok());
    return f.ok() ? *f : fitted_line{};
}

bool dropped_says(const draft_result& r, const std::string& what, const std::string& why) {
    return std::any_of(r.dropped.begin(), r.dropped.end(), [&](const dropped& d) {
        return d.what.find(what) != std::string::npos && d.why.find(why) != std::string::npos;
    });
}

TEST(DraftSources, AFullDraftPassesTheStrictCheck) {
    draft d;
    d.name = "Bozza";
    d.train = 101;
    d.start_km_m = 12345;
    d.line = some_line(12000);
    d.tunnels = {{5020, 5480, "Galleria del Colle, Nord"}, {5600, 5900, ""}, {50, 120, "Imbocco"}};
    d.stations = {{"Łódź Fabryczna", 0, 30, {}},
                  {"Città Alta", 4000, 45, {}},
                  {"Troppo Vicina", 4300, 30, {}},
                  {"Capolinea", 11900, 30, {}}};
    d.signals = {{100}, {2980}, {3000}, {3010}, {4950}, {8000}, {20000}};
    d.speeds = {{0, 102}, {6000, 63}, {9000, 2}};
    const draft_result r = write_draft(d);
    EXPECT_EQ(strict_findings(r.texts), std::vector<std::string>{}) << r.texts.line << r.texts.run;

    // The check sees what it should: a gradient off its cell is warned.
    draft_texts off = r.texts;
    off.line.replace(off.line.find("[pendenze]\r\n"), 12, "[pendenze]\r\npendenza,  75,   3\r\n");
    EXPECT_FALSE(strict_findings(off).empty());

    EXPECT_TRUE(dropped_says(r, "start km", "12300 m"));
    EXPECT_TRUE(dropped_says(r, "station TROPPO VICINA", "less than 350 m of open line"));
    EXPECT_TRUE(dropped_says(r, "name board of the tunnel at 50 m", "no cell before it"));
    EXPECT_TRUE(dropped_says(r, "signal at 100 m", "350 m"));
    EXPECT_TRUE(dropped_says(r, "signal at 3010 m", "another signal"));
    EXPECT_TRUE(dropped_says(r, "signal at 20000 m", "beyond"));
    EXPECT_TRUE(dropped_says(r, "speed limit at 9000 m", "below 5"));

    // The lines as the format wants them.
    const std::string& line = r.texts.line;
    EXPECT_NE(line.find("progressiva chilometrica uno,    0,    12300,    0\r\n"), std::string::npos);
    EXPECT_NE(line.find("montagna,  5000,  5500,  12\r\n"), std::string::npos);
    EXPECT_NE(line.find("montagna,  5600,  5900,  13\r\n"), std::string::npos);  // 100 m after: class 3
    EXPECT_NE(line.find("cartello_indicatore,  4950,  (GALLERIA DEL COLLE NORD)(500 m.)\r\n"),
              std::string::npos);
    EXPECT_NE(line.find("cartello_indicatore,  5550,  (GALLERIA)(300 m.)\r\n"), std::string::npos);
    const std::string& run = r.texts.run;
    EXPECT_NE(run.find("velocita,    0,    100\r\nvelocita,    6000,    60\r\n"), std::string::npos);
    EXPECT_NE(run.find("stazione,       0,  4,  600,  0, 0, 0,  1,1,0,  4,1,1,    1,  8, 0, 0, L\xD3"
                       "DZ FABRYCZNA\r\n"),
              std::string::npos)
        << run;
    EXPECT_NE(run.find(", CITT\xC0 ALTA\r\n"), std::string::npos);
    EXPECT_EQ(run.find("TROPPO"), std::string::npos);
    // A signal on the cell of a board moves to the next cell.
    EXPECT_NE(run.find("segnale,    5000,"), std::string::npos);
    EXPECT_EQ(run.find("segnale,    4950,"), std::string::npos);
}

TEST(DraftSources, FillsTheRecordSlotsStationsFirst) {
    draft d;
    d.name = "Bozza";
    d.train = 101;
    d.line = some_line(120000);
    for (int i = 0; i < 90; ++i) {
        d.stations.push_back({"S" + std::to_string(i), 1300 * i, 30, {}});
        d.tunnels.push_back({1300 * i + 600, 1300 * i + 800, "T" + std::to_string(i)});
    }
    const draft_result r = write_draft(d);
    EXPECT_EQ(strict_findings(r.texts), std::vector<std::string>{});
    const auto count = [](const std::string& text, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count(r.texts.run, "\r\nstazione,"), 78u);
    EXPECT_EQ(count(r.texts.line, "\r\ncartello_indicatore,"), 0u);
    EXPECT_EQ(count(r.texts.line, "\r\nmontagna,"), 80u);
    EXPECT_TRUE(dropped_says(r, "station S89", "78 stations"));
    EXPECT_TRUE(dropped_says(r, "tunnel at", "80 tunnels"));
    EXPECT_TRUE(dropped_says(r, "name board", "share 78 records"));
}

TEST(DraftSources, AddsTheStationsARunNeeds) {
    draft d;
    d.name = "Bozza";
    d.train = 101;
    d.line = some_line(5000);
    const draft_result r = write_draft(d);
    EXPECT_EQ(strict_findings(r.texts), std::vector<std::string>{});
    EXPECT_EQ(r.added.size(), 2u);
    EXPECT_NE(r.texts.run.find(", INIZIO\r\n"), std::string::npos);
    EXPECT_NE(r.texts.run.find("stazione,    4800, 12,"), std::string::npos) << r.texts.run;
}

TEST(DraftSources, TheTimetableIsDrivable) {
    draft d;
    d.name = "Bozza";
    d.train = 101;
    d.line = some_line(30000);
    d.departure = 23 * 3600 + 30 * 60;
    d.stations = {{"A", 500, 30, {}}, {"B", 15000, 30, {}}, {"C", 29500, 30, {}}};
    d.speeds = {{0, 120}};
    const draft_result r = write_draft(d);
    EXPECT_EQ(strict_findings(r.texts), std::vector<std::string>{});
    EXPECT_NE(r.texts.run.find("orologio,    23,    30,    0"), std::string::npos);
}

TEST(PlaceNames, UpperCaseWindows1252ByOneRule) {
    const std::pair<const char*, const char*> cases[] = {
        {"Città di Castello", "CITT\xC0 DI CASTELLO"},
        {"Łódź",
         "L\xD3"
         "DZ"},
        {"Wałbrzych", "WALBRZYCH"},
        {"Großräschen", "GRO\xDFR\xC4SCHEN"},
        {"Škofja Loka",
         "\x8A"
         "KOFJA LOKA"},
        {"Cluj-Napoca, Gară", "CLUJ-NAPOCA GARA"},
        {"  Ţara  \"Nouă\" ", "TARA NOUA"},
        {"e\xCC\x81tang", "ETANG"},  // a combining accent
        {"Αθήνα", ""},
        {"S.Mommè'", "S.MOMM\xC8'"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(place_name(in), out) << in;
}

}  // namespace
}  // namespace scenario::fit
