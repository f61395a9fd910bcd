// The one reader of compiled files that `dump` and `plan` share: a file's
// kind from its content, why bytes are no compiled file, and a scenario's
// files read together, failing as `dump` fails on the same bytes.
#include "tools/core/compiled_reader.h"

#include "common/line_list.h"
#include "compiler/compiled_files.h"
#include "compiler/source_store.h"
#include "sources/writers.h"
#include "tests/support/files.h"
#include "tests/support/tool_run.h"
#include "tools/core/memory_compile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace scenario::tool {
namespace {

namespace fs = std::filesystem;

class CompiledReader : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const compiled_sources c =
            compile_texts(testo_lista(sorgenti::righe_linea()), testo_lista(sorgenti::righe_treno()),
                          {"Calvena_Roccalba", "4127"}, true);
        ASSERT_TRUE(c.errors.empty());
        line_ = codifica_tracciato(c.state->tracciato);
        run_ = codifica_voci(c.state->voci);
        cells_ = codifica_celle(c.state->celle);
    }
    static inline std::string line_, run_, cells_;
};

TEST_F(CompiledReader, TheContentTellsTheKindAndAnyKindCanBeForced) {
    const struct {
        const std::string* bytes;
        compiled_kind kind;
    } cases[] = {{&line_, compiled_kind::line}, {&run_, compiled_kind::run}, {&cells_, compiled_kind::cells}};
    for (const auto& c : cases) {
        SCOPED_TRACE(kind_name(c.kind));
        const auto by_content = decode_compiled(*c.bytes, std::nullopt);
        ASSERT_TRUE(by_content.ok());
        EXPECT_EQ(by_content->kind, c.kind);
        const auto forced = decode_compiled(*c.bytes, c.kind);
        ASSERT_TRUE(forced.ok());
        EXPECT_EQ(forced->kind, c.kind);
    }
    EXPECT_EQ(decode_compiled(cells_, std::nullopt)->celle.size(), cells_.size() / 15);
}

TEST_F(CompiledReader, BytesOfNoKindSayWhyForEachKind) {
    const auto f = decode_compiled("abc", std::nullopt);
    ASSERT_FALSE(f.ok());
    EXPECT_EQ(f.error().kind, std::nullopt);
    for (const char* part :
         {"not a compiled file (", "as a run file: ", "as a line file: ", "as a cell file: "})
        EXPECT_NE(f.error().message.find(part), std::string::npos) << f.error().message;
    const auto cut = decode_compiled(std::string_view(cells_).substr(0, 40), compiled_kind::cells);
    ASSERT_FALSE(cut.ok());
    EXPECT_EQ(cut.error().kind, compiled_kind::cells);
    EXPECT_EQ(cut.error().offset, 30u);
}

// `plan` reads a scenario's files and `dump` one file through the same
// reader: a cut cell file fails both at the same byte.
TEST_F(CompiledReader, PlanAndDumpFailAlikeOnACutCellFile) {
    test_support::temporary_directory dir("scenario_compiled_reader_");
    const fs::path cells = dir / nome_file_celle_compilato("Calvena_Roccalba", "4127");
    test_support::write_file(cells, cells_.substr(0, 100));
    test_support::write_file(dir / nome_file_corsa_compilato("Calvena_Roccalba", "4127"), run_);

    const auto read = read_compiled_scenario(dir.path(), "Calvena_Roccalba", "4127");
    ASSERT_FALSE(read.ok());
    EXPECT_TRUE(read.error().invalid);
    EXPECT_NE(read.error().message.find("data ends inside a cell record (at byte offset 90)"),
              std::string::npos)
        << read.error().message;

    const test_support::command_output dump = test_support::run_tool({"dump", cells.string()});
    EXPECT_EQ(dump.status, 1);
    EXPECT_NE(dump.err.find("data ends inside a cell record (at byte offset 90)"), std::string::npos)
        << dump.err;

    const test_support::command_output plan =
        test_support::run_tool({"plan", dir.path().string(), "--svg", "-"});
    EXPECT_EQ(plan.status, 1);
    EXPECT_NE(plan.err.find(read.error().message), std::string::npos) << plan.err;
}

TEST_F(CompiledReader, AMissingLineFileDrawsStraightAndAForeignOneIsLeftOut) {
    test_support::temporary_directory dir("scenario_compiled_reader_");
    test_support::write_file(dir / nome_file_celle_compilato("N", "1"), cells_);
    test_support::write_file(dir / nome_file_corsa_compilato("N", "1"), run_);
    auto read = read_compiled_scenario(dir.path(), "N", "1");
    ASSERT_TRUE(read.ok());
    EXPECT_FALSE(read->tracciato);
    EXPECT_FALSE(read->plan_left_out);

    tracciato_linea short_plan;  // four points: a route of one cell
    short_plan.dimensiona(3);
    for (valore_tracciato& v : short_plan.valori) {
        v.tipo = valore_tracciato::etichetta::intero;
        v.intero = 1;
    }
    test_support::write_file(dir / nome_file_linea_compilato("N"), codifica_tracciato(short_plan));
    read = read_compiled_scenario(dir.path(), "N", "1");
    ASSERT_TRUE(read.ok());
    EXPECT_FALSE(read->tracciato);
    EXPECT_TRUE(read->plan_left_out);
    ASSERT_EQ(read->warnings.size(), 1u);
    EXPECT_NE(read->warnings[0].find("does not belong to"), std::string::npos);
}

}  // namespace
}  // namespace scenario::tool
