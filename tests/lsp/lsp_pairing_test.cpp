// Pairing by file names: the other source of an open file is its open
// buffer when there is one, the file on disk otherwise.
#include "tests/lsp/lsp_support.h"
#include "tools/lsp/pairing.h"
#include "tools/lsp/uri.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace scenario::tool::lsp::testing {
namespace {

namespace fs = std::filesystem;

class LspPairing : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("lsp_pairing_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
    }
    std::string uri(const std::string& name) { return uri_of_path(dir / name); }
    fs::path dir;
};

json codes(const json& published) {
    json list = json::array();
    for (const json& d : published["diagnostics"])
        list.push_back(d["code"]);
    return list;
}

TEST_F(LspPairing, AnOpenFileIsCompiledWithItsPartnerOnDisk) {
    write("Calvena_Roccalba_linea.txt", program_line());
    write("Calvena_Roccalba_4127-.txt", program_run());
    // A scenario name with a '_' of its own, and a run of another scenario beside it.
    write("Calvena_X_9-.txt", "nothing");

    session run_only;
    run_only.initialized();
    const std::string run = uri("Calvena_Roccalba_4127-.txt");
    run_only.s.handle(did_open(run, program_run()));
    EXPECT_EQ(codes(run_only.diagnostics(run)), json::array());
    run_only.s.handle(
        did_change(run, program_run().substr(0, program_run().find("[segnali]")) + "segnalle, 1\r\n", 2));
    EXPECT_EQ(codes(run_only.diagnostics(run)), json({"unknown-keyword"}));

    session line_only;
    line_only.initialized();
    const std::string line = uri("Calvena_Roccalba_linea.txt");
    std::string typo = program_line();
    typo.insert(typo.find("[curve]") + 9, "curvva, 1\r\n");
    line_only.s.handle(did_open(line, typo));
    EXPECT_EQ(codes(line_only.diagnostics(line)), json({"unknown-keyword"}));
}

TEST_F(LspPairing, NamesPairAsTheCommandsPairThem) {
    write("Calvena_Roccalba_linea.txt", "");
    write("Calvena_Roccalba_4127-.txt", "");
    write("Calvena_Roccalba_4128-.txt", "");
    const presence on_disk = [](const fs::path& p) { return fs::exists(p); };
    EXPECT_EQ(kind_of(dir / "Calvena_Roccalba_linea.txt"), source_kind::line);
    EXPECT_EQ(kind_of(dir / "Calvena_Roccalba_4127-.txt"), source_kind::run);
    EXPECT_EQ(kind_of(dir / "Calvena_Roccalba_4127_note.txt"), source_kind::other);
    EXPECT_EQ(line_of_run(dir / "Calvena_Roccalba_4127-.txt", on_disk), dir / "Calvena_Roccalba_linea.txt");
    EXPECT_EQ(line_of_run(dir / "Tarvo_1-.txt", on_disk), std::nullopt);
    EXPECT_EQ(expected_line_name(dir / "Tarvo_Lesina_1-.txt"), "Tarvo_Lesina_linea.txt");
    // The first run on disk, unless one is open.
    EXPECT_EQ(run_of_line(dir / "Calvena_Roccalba_linea.txt", {}, on_disk),
              dir / "Calvena_Roccalba_4127-.txt");
    EXPECT_EQ(run_of_line(dir / "Calvena_Roccalba_linea.txt", {dir / "Calvena_Roccalba_4128-.txt"}, on_disk),
              dir / "Calvena_Roccalba_4128-.txt");
}

}  // namespace
}  // namespace scenario::tool::lsp::testing
