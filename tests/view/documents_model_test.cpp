// The page's Documents panel: the documents package writes, from the details
// file beside the sources, or why there are none.
#include "tools/view/documents_model.h"

#include "common/line_list.h"
#include "sources/writers.h"
#include "tests/support/files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace scenario::view {
namespace {

namespace fs = std::filesystem;

const fs::path details_file =
    fs::path(SCENARIO_TEST_DATA) / "package" / "Calvena_Roccalba_4127_documenti.json";

std::string text_of(const lista_righe& lines) {
    std::string t;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        t += lines[i] + "\n";
    return t;
}

std::shared_ptr<const compiled_view> program_view(std::string run = testo_lista(sorgenti::righe_treno())) {
    return compile_view(testo_lista(sorgenti::righe_linea()), std::move(run), "Calvena_Roccalba", "4127",
                        {"l.txt", "r.txt"});
}

TEST(DocumentsModel, ShowsWhatPackageWritesOrWhyNot) {
    test_support::temporary_directory dir("documents_model_");
    // Without details: the sources' own facts; the card has the times, no km of the author.
    json bare = documents_json(*program_view(), dir.path());
    ASSERT_TRUE(bare.contains("card")) << bare.dump();
    EXPECT_NE(bare["card"].get<std::string>().find("| CORBEZZI                   | 16.36    16.37 |"),
              std::string::npos);

    fs::copy_file(details_file, dir / "Calvena_Roccalba_4127_documenti.json");
    json own = documents_json(*program_view(), dir.path());
    EXPECT_EQ(own["card"], text_of(sorgenti::righe_scheda()));
    EXPECT_EQ(own["order"], text_of(sorgenti::righe_rallentamenti()));
    EXPECT_EQ(own["notes"], text_of(sorgenti::righe_note()));

    test_support::write_file(dir / "Calvena_Roccalba_4127_documenti.json", R"({"speed": 80})");
    EXPECT_NE(documents_json(*program_view(), dir.path())["error"].get<std::string>().find(".speed"),
              std::string::npos);

    std::string broken = testo_lista(sorgenti::righe_treno());
    broken.replace(broken.find("stazione,    1800"), 17, "stazione,    1825");
    EXPECT_TRUE(documents_json(*program_view(broken), dir.path()).contains("error"));
}

}  // namespace
}  // namespace scenario::view
