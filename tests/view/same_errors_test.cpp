// The page lists exactly the error entries `compile --json` gives for the same
// files: one function builds both.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tools/command_line.h"
#include "tools/view/view_model.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace scenario::view {
namespace {

namespace fs = std::filesystem;

TEST(SameErrors, PageAndCompileJsonAgree) {
    std::random_device r;
    const fs::path dir = fs::temp_directory_path() / ("scenario_view_same_" + std::to_string(r()));
    fs::create_directories(dir);
    const std::string line_file = (dir / "Calvena_Roccalba_linea.txt").string();
    const std::string run_file = (dir / "Calvena_Roccalba_4127-.txt").string();
    const std::string line = testo_lista(sorgenti::righe_linea());
    const std::string run = testo_lista(sorgenti::righe_treno());
    const std::string signal = "segnale,    3650,   1, 4, 1,  0, 0,    0,  0,0,0, 0\r\n";
    struct fault {
        const char* what;
        std::string line, run;
    };
    const fault faults[] = {
        {"a second signal on a signal's cell (16)", line,
         std::string(run).insert(run.find(signal) + signal.size(),
                                 "segnale,    3650,   2, 4, 1,  0, 0,    0,  0,0,0, 0\r\n")},
        {"a station off the 50 m grid (8)", line,
         std::string(run).replace(run.find("stazione,    5250"), 17, "stazione,    5260")},
        {"a route that ends before its stations", std::string(line).replace(line.find("40000"), 5, "20000"),
         run},
    };
    for (const fault& f : faults) {
        SCOPED_TRACE(f.what);
        std::ofstream(line_file, std::ios::binary | std::ios::trunc) << f.line;
        std::ofstream(run_file, std::ios::binary | std::ios::trunc) << f.run;
        std::ostringstream out, err;
        tool::run({"compile", "--line", line_file, "--run", run_file, "--name", "Calvena_Roccalba", "--train",
                   "4127", "--out", (dir / "out").string(), "--json"},
                  out, err);
        const json from_compile = json::parse(out.str())["errors"];
        const auto v = compile_view(f.line, f.run, "Calvena_Roccalba", "4127", {line_file, run_file});
        ASSERT_FALSE(from_compile.empty());
        EXPECT_EQ(v->errors, from_compile);
        EXPECT_EQ(model_json(*v)["errors"], from_compile);
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace scenario::view
