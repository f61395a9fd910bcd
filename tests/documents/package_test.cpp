// `scenario package`: the program's own package from its sources and the
// details file, and the rules that derive the documents from any compile.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tests/support/files.h"
#include "tests/support/tool_run.h"
#include "tools/core/memory_compile.h"
#include "tools/documents/author_details.h"
#include "tools/documents/package_documents.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scenario::tool {
namespace {

namespace fs = std::filesystem;
using test_support::read_file;
using test_support::run_tool;
using test_support::temporary_directory;

const fs::path details_file =
    fs::path(SCENARIO_TEST_DATA) / "package" / "Calvena_Roccalba_4127_documenti.json";

TEST(Package, TheProgramsOwnSourcesAndDetailsGiveTheProgramsPackage) {
    temporary_directory dir("package_own_");
    ASSERT_EQ(run_tool({"sources", (dir / "src").string()}).status, 0);
    const std::string line = (dir / "src" / "Calvena_Roccalba_linea.txt").string();
    const std::string run = (dir / "src" / "Calvena_Roccalba_4127-.txt").string();
    const auto packaged = run_tool({"package", "--line", line, "--run", run, "--details",
                                    details_file.string(), "--out", (dir / "package").string()});
    ASSERT_EQ(packaged.status, 0) << packaged.err;
    ASSERT_EQ(
        run_tool({"compile", "--line", line, "--run", run, "--out", (dir / "compiled").string()}).status, 0);

    // The compiled files as `compile` writes them, the documents as the
    // program writes them: no line differs.
    for (const char* name :
         {"Calvena_Roccalba_linea.dat", "Calvena_Roccalba_4127.sim", "Calvena_Roccalba_4127.dat"})
        EXPECT_EQ(read_file(dir / "package" / name), read_file(dir / "compiled" / name)) << name;
    for (const char* name : {"Calvena_Roccalba_4127_scheda_treno.txt",
                             "Calvena_Roccalba_4127_rallentamenti.txt", "Calvena_Roccalba_4127_note.txt"})
        EXPECT_EQ(read_file(dir / "package" / name), read_file(dir / "src" / name)) << name;
}

TEST(Package, SourcesWithErrorsOrBadDetailsWriteNothing) {
    temporary_directory dir("package_bad_");
    ASSERT_EQ(run_tool({"sources", (dir / "src").string()}).status, 0);
    const std::string line = (dir / "src" / "Calvena_Roccalba_linea.txt").string();
    const std::string run = (dir / "src" / "Calvena_Roccalba_4127-.txt").string();
    struct bad_details {
        const char* json;
        const char* said;
    };
    const bad_details cases[] = {
        {R"({"clasification": "REGIONALE"})", "clasification: expected none of this name"},
        {R"({"stations": {"CALVENA": {"passing": "16.22"}}})", "expected a time \"HH:MM\""},
        {R"({"stations": {"CALVENA": {"passing": "16:21"}}})", "gives its time"},
        {R"({"stations": {"NOWHERE": {}}})", "no station of the run is called \"NOWHERE\""},
        {R"({"braked_mass_tonnes": "250"})", "expected a whole number"},
        {R"({"slowdowns": [{}, {}, {}]})", "the details list 3 slowdowns, the run has 2"},
        {"{", "not JSON"},
    };
    for (const bad_details& c : cases) {
        test_support::write_file(dir / "details.json", c.json);
        const auto r = run_tool({"package", "--line", line, "--run", run, "--details",
                                 (dir / "details.json").string(), "--out", (dir / "out").string()});
        EXPECT_EQ(r.status, 1) << c.json;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << c.json << "\n" << r.err;
        EXPECT_FALSE(fs::exists(dir / "out")) << c.json;
    }
    std::string broken = read_file(run);
    broken.replace(broken.find("stazione,    1800"), 17, "stazione,    1825");  // error 8
    test_support::write_file(run, broken);
    const auto r = run_tool({"package", "--line", line, "--run", run, "--out", (dir / "out").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("hold errors"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "out"));
}

// ---- the derivation rules, from sources made for each case -----------------

std::string station(int position, int kind, int area, int dwell, int h, int m, int s,
                    const std::string& name) {
    char row[200];
    std::snprintf(row, sizeof row, "stazione, %d, %d, %d, 0, 0, 0, 0,0,0, 4,1,1, %d, %d,%d,%d, %s\r\n",
                  position, kind, area, dwell, h, m, s, name.c_str());
    return row;
}

const std::string first = station(0, 4, 600, 1, 16, 20, 0, "INIZIO");
const std::string last = station(39800, 12, 400, 0, 17, 8, 0, "FINE");

// The program's sources with these stations and slowdowns in place of its own.
compiled_sources compile_with(const std::string& stations, const std::string& slowdowns,
                              const std::string& progressive = "") {
    std::string line = testo_lista(sorgenti::righe_linea());
    if (!progressive.empty()) {
        const std::string own = "progressiva chilometrica uno,    0,    33550,    0";
        line.replace(line.find(own), own.size(), progressive);
    }
    std::string run = testo_lista(sorgenti::righe_treno());
    const std::size_t from = run.find("[stazioni]\r\n") + 12;
    run.replace(from, run.find("[segnali]") - from, stations + "[rallentamenti]\r\n" + slowdowns);
    return compile_texts(line, run, {"Prova", "99", false}, true);
}

std::vector<std::string> lines_of(const lista_righe& l) {
    return {l.begin(), l.end() - 1};
}

bool has_line(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

struct derivation_case {
    const char* what;
    std::string stations;
    std::string slowdowns;
    std::string details;
    std::string progressive;
    std::vector<std::string> card;   // lines the card holds
    std::vector<std::string> order;  // lines the slow order holds
};

TEST(Package, DocumentsFollowTheStatedRules) {
    const std::string mid = "MEZZO";
    const derivation_case cases[] = {
        {"first and last station: departure alone at the right, arrival alone at the left",
         first + last,
         "",
         "{}",
         "",
         {" |  80 |     |  33.550  |     | INIZIO                     |          16.20 |     |",
          " |     |     |  73.350  |     | FINE                       | 17.08          |     |"},
         {}},
        {"a stop of half a minute: the arrival takes the '+'",
         first + station(10000, 22, 200, 30, 16, 43, 0, mid) + last,
         "",
         "{}",
         "",
         {" |     |     |  43.550  |     | MEZZO                      | 16.42+   16.43 |     |"},
         {}},
        {"odd seconds round down to the half minute",
         first + station(10000, 22, 200, 60, 16, 43, 17, mid) +
             station(20000, 22, 200, 0, 16, 50, 47, "ALTRA") + last,
         "",
         "{}",
         "",
         {" |     |     |  43.550  |     | MEZZO                      | 16.42    16.43 |     |",
          " |     |     |  53.550  |     | ALTRA                      |      16.50+    |     |"},
         {}},
        {"past midnight the hours go round the clock",
         station(0, 4, 600, 1, 23, 58, 0, "INIZIO") + station(10000, 22, 200, 60, 24, 3, 0, mid) + last,
         "",
         "{}",
         "",
         {" |     |     |  43.550  |     | MEZZO                      |  0.02     0.03 |     |"},
         {}},
        {"a passing station without a time has none; with the author's time it is centred",
         first + station(10000, 27, 200, 0, 0, 0, 0, mid) + station(20000, 27, 200, 0, 0, 0, 0, "ALTRA") +
             last,
         "",
         R"({"stations": {"ALTRA": {"passing": "16:40", "km": 60.1, "card_name": "Altra"}}})",
         "",
         {" |     |     |  43.550  |     | MEZZO                      |                |     |",
          " |     |     |  60.100  |     | Altra                      |      16.40     |     |"},
         {}},
        {"a slowdown inside a station's area names that station alone",
         first + station(10000, 22, 400, 60, 16, 43, 0, mid) + last,
         "rallentamento, 9850, 30, 300, 0, 0, 0\r\n",
         R"({"stations": {"MEZZO": {"order_name": "Mezzo"}}, "slowdowns": [{"prescriptions": "B"}]})",
         "",
         {},
         {" | 1 |  Mezzo                     |     43     |    30    |   300   |   B        |"}},
        {"a slowdown between stations, its post from the progressive, rounded down",
         first + station(10000, 22, 200, 60, 16, 43, 0, mid) + last,
         "rallentamento, 18650, 30, 1000, 0, 0, 0\r\n",
         "{}",
         "",
         {},
         {" | 1 |  MEZZO - FINE              |     52     |    30    |  1000   |   ---      |"}},
        {"a long name is cut on the card and wraps on the slow order",
         first + station(10000, 22, 200, 60, 16, 43, 0, "STAZIONE DAL NOME MOLTO MOLTO LUNGO") + last,
         "rallentamento, 18650, 40, 500, 0, 0, 0\r\n",
         "{}",
         "",
         {" |     |     |  43.550  |     | STAZIONE DAL NOME MOLTO MOL| 16.42    16.43 |     |"},
         {" | 1 | STAZIONE DAL NOME MOLTO MOL|            |          |         |            |",
          " |   |   - FINE                   |     52     |    40    |   500   |   ---      |"}},
        {"empty progressives: the kilometre point is the position",
         first + station(10000, 22, 200, 60, 16, 43, 0, mid) + last,
         "rallentamento, 18650, 30, 300, 0, 0, 0\r\n",
         "{}",
         "progressiva chilometrica uno,    0,    0,    0",
         {" |     |     |  10.000  |     | MEZZO                      | 16.42    16.43 |     |"},
         {" | 1 |  MEZZO - FINE              |     18     |    30    |   300   |   ---      |"}},
    };
    for (const derivation_case& c : cases) {
        SCOPED_TRACE(c.what);
        const compiled_sources compiled = compile_with(c.stations, c.slowdowns, c.progressive);
        ASSERT_TRUE(compiled.errors.empty()) << compiled.errors.front().message;
        const result<author_details> details = parse_author_details(c.details, "details");
        ASSERT_TRUE(details) << details.error();
        const result<package_documents> d =
            derive_documents(*compiled.state, &compiled.log, compiled.names, *details);
        ASSERT_TRUE(d) << d.error();
        const std::vector<std::string> card = lines_of(sorgenti::card_lines(d->card));
        const std::vector<std::string> order = lines_of(sorgenti::slow_order_lines(d->order));
        for (const std::string& l : c.card)
            EXPECT_TRUE(has_line(card, l)) << l << "\n" << testo_lista(sorgenti::card_lines(d->card));
        for (const std::string& l : c.order)
            EXPECT_TRUE(has_line(order, l)) << l << "\n" << testo_lista(sorgenti::slow_order_lines(d->order));
    }
}

TEST(Package, SlowdownsBeyondOneFormGoOnASecondForm) {
    std::string slowdowns;
    for (int i = 0; i < 12; ++i)
        slowdowns += "rallentamento, " + std::to_string(6150 + i * 2000) + ", 50, 300, 0, 0, 0\r\n";
    const compiled_sources compiled = compile_with(first + last, slowdowns);
    ASSERT_TRUE(compiled.errors.empty()) << compiled.errors.front().message;
    const result<package_documents> d = derive_documents(*compiled.state, &compiled.log, compiled.names, {});
    ASSERT_TRUE(d) << d.error();
    ASSERT_EQ(d->order.entries.size(), 12u);
    const std::vector<std::string> order = lines_of(sorgenti::slow_order_lines(d->order));
    // Ten entries of two rows fill the 21 rows of the first form; the last two
    // open a second, laid out the same, and the legend closes the document.
    EXPECT_EQ(std::count(order.begin(), order.end(), "                               Modulo M. 3"), 2);
    const auto second_form =
        std::find(order.begin() + 2, order.end(), "                               Modulo M. 3");
    EXPECT_EQ(std::find_if(order.begin(), second_form,
                           [](const std::string& l) { return l.rfind(" | 11", 0) == 0; }),
              second_form);
    EXPECT_EQ(order.size(), 2 * 34u + 7);  // two forms, an empty line, the legend
    for (std::size_t i = 0; i + 6 < order.size(); ++i)
        if (!order[i].empty() && order[i][1] == '|') {
            EXPECT_EQ(order[i].size(), 82u) << i;
        }
}

}  // namespace
}  // namespace scenario::tool

namespace scenario::tool {
namespace {

// check --documents on the program's own package, then on copies with one
// thing changed: each change is reported at its document's line.
TEST(CheckDocuments, ReportsWhereADocumentDisagreesWithTheSources) {
    temporary_directory dir("check_documents_");
    ASSERT_EQ(run_tool({"sources", (dir / "src").string()}).status, 0);
    const std::string line = (dir / "src" / "Calvena_Roccalba_linea.txt").string();
    const std::string run = (dir / "src" / "Calvena_Roccalba_4127-.txt").string();
    const std::string card = "Calvena_Roccalba_4127_scheda_treno.txt";
    const std::string order = "Calvena_Roccalba_4127_rallentamenti.txt";
    auto check = [&](const fs::path& documents, std::vector<std::string> more = {}) {
        std::vector<std::string> words = {"check",
                                          "--line",
                                          line,
                                          "--run",
                                          run,
                                          "--documents",
                                          documents.string(),
                                          "--details",
                                          details_file.string()};
        words.insert(words.end(), more.begin(), more.end());
        return run_tool(words);
    };
    const auto own = check(dir / "src");
    EXPECT_EQ(own.status, 0);
    EXPECT_EQ(own.err.find("warning"), std::string::npos) << own.err;

    struct change {
        std::string file, from, to;
        std::string reported;  // FILE:LINE: warning [code]
    };
    const change changes[] = {
        {card, "| 16.36    16.37 |", "| 16.36    16.38 |", card + ":21: warning [document-time]"},
        {card, "| 16.42+   16.43 |", "| 16.42    16.43 |", card + ":23: warning [document-time]"},
        {card, "  53.440  ", "  53.400  ", card + ":22: warning [document-km]"},
        {card, "| CASTAGNO    ", "| CASTAGNA    ", card + ":22: warning [document-station]"},
        {order, "|   300   |", "|   400   |", order + ":14: warning [document-slowdown]"},
        {order, "|     67     |", "|     66     |", order + ":17: warning [document-km]"},
        {order, " | 1 |  Corbezzi - Castagno       |     52     |    30    |   300   |   ---      |",
         " |   |                            |            |          |         |            |",
         order + ":41: warning [document-slowdown]"},
        {card, " |_____|_____|", " |_____|_____ ", card + ": warning [document-unreadable]"},
    };
    for (const change& c : changes) {
        SCOPED_TRACE(c.to);
        const fs::path copy = dir / "copy";
        fs::remove_all(copy);
        fs::create_directories(copy);
        for (const auto& f : fs::directory_iterator(dir / "src"))
            fs::copy_file(f.path(), copy / f.path().filename());
        std::string text = read_file(copy / c.file);
        ASSERT_NE(text.find(c.from), std::string::npos);
        text.replace(text.find(c.from), c.from.size(), c.to);
        test_support::write_file(copy / c.file, text);
        const auto r = check(copy);
        EXPECT_NE(r.err.find((copy / c.reported).string()), std::string::npos) << r.err;
        EXPECT_EQ(check(copy, {"--strict"}).status, 1);
    }

    // The JSON report lists a document's warning as it lists the sources' ones.
    const auto json = check(dir / "copy", {"--json"});
    EXPECT_NE(json.out.find("\"code\": \"document-unreadable\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"consequences\": []"), std::string::npos);
    const auto ignored = check(dir / "copy", {"--ignore", "document-unreadable"});
    EXPECT_EQ(ignored.err.find("document-unreadable"), std::string::npos) << ignored.err;
}

}  // namespace
}  // namespace scenario::tool
