// The scenario name and train number taken from the text sources' file names.
#include "tools/core/scenario_names.h"

#include "tests/support/files.h"

#include <gtest/gtest.h>
#include <vector>

namespace scenario::tool {
namespace {

TEST(ScenarioNames, FromFileNamesOrAsGiven) {
    struct case_ {
        const char* line;
        const char* run;
        const char* name;
        const char* train;
        const char* want_name;  // nullptr: an error is expected
        const char* want_train;
        bool guessed;
    };
    const case_ cases[] = {
        {"w/Calvena_Roccalba_linea.txt", "w/Calvena_Roccalba_4127-.txt", "", "", "Calvena_Roccalba", "4127",
         true},
        {"Calvena_Roccalba_linea.txt", "x/Calvena_Roccalba_4127-.txt", "Given", "12", "Given", "12", false},
        // Only the train is missing: it follows from the given name.
        {"line.txt", "Mine_88-.txt", "Mine", "", "Mine", "88", true},
        // A name holding underscores and a number holding a dash.
        {"A_B_C_linea.txt", "A_B_C_7-2-.txt", "", "", "A_B_C", "7-2", true},
        {"line.txt", "Calvena_Roccalba_4127-.txt", "", "", nullptr, nullptr, false},
        {"Calvena_Roccalba_linea.txt", "Other_4127-.txt", "", "", nullptr, nullptr, false},
        {"Calvena_Roccalba_linea.txt", "Calvena_Roccalba_-.txt", "", "", nullptr, nullptr, false},
        {"Calvena_Roccalba_linea.txt", "Calvena_Roccalba_4127.txt", "", "", nullptr, nullptr, false},
        {"_linea.txt", "_4127-.txt", "", "", nullptr, nullptr, false},
    };
    for (const case_& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " " + c.run);
        const result<scenario_names> r = complete_names(c.line, c.run, c.name, c.train);
        if (!c.want_name) {
            ASSERT_FALSE(r);
            EXPECT_NE(r.error().find("give it with --"), std::string::npos) << r.error();
            continue;
        }
        ASSERT_TRUE(r) << r.error();
        EXPECT_EQ(r->name, c.want_name);
        EXPECT_EQ(r->train, c.want_train);
        EXPECT_EQ(r->guessed, c.guessed);
    }
}

// The compiled scenario a directory holds, for commands that read compiled
// files: its NAME_NUMBER.sim gives both names unless the options say which.
TEST(ScenarioNames, FromTheCompiledFilesInADirectory) {
    struct case_ {
        std::vector<const char*> files;
        const char* name;
        const char* train;
        const char* want_name;  // nullptr: an error is expected, holding `want_train`
        const char* want_train;
    };
    const case_ cases[] = {
        {{"Calvena_Roccalba_4127.sim", "Calvena_Roccalba_4127.dat", "Calvena_Roccalba_linea.dat"},
         "",
         "",
         "Calvena_Roccalba",
         "4127"},
        // Where the stem splits at more than one '_', the line file beside it decides.
        {{"A_B_7_1.sim", "A_B_7_linea.dat"}, "", "", "A_B_7", "1"},
        {{"A_B_7_1.sim", "A_linea.dat"}, "", "", "A", "B_7_1"},
        {{"A_B_7_1.sim"}, "", "", "A_B_7", "1"},
        // Two scenarios: the options choose, or the error lists both.
        {{"X_1.sim", "Y_2.sim"}, "Y", "", "Y", "2"},
        {{"X_1.sim", "Y_2.sim", "Y_3.sim"}, "", "3", "Y", "3"},
        {{"X_1.sim", "Y_2.sim"}, "", "", nullptr, "X / 1\n  Y / 2"},
        {{"X_1.dat", "notes.txt"}, "", "", nullptr, "holds no compiled run file (NAME_NUMBER.sim)"},
        {{"X_1.sim"}, "Z", "", nullptr, "holds no compiled run file of Z"},
        // Both given: taken as they are, the directory is not looked at.
        {{}, "Given", "12", "Given", "12"},
        {{}, "Bad/name", "12", nullptr, "cannot stand in a file name"},
    };
    for (const case_& c : cases) {
        test_support::temporary_directory dir{"scenario_names_"};
        for (const char* f : c.files)
            test_support::write_file(dir / f, "");
        SCOPED_TRACE(testing::PrintToString(c.files) + " " + c.name + " " + c.train);
        const result<scenario_names> r = compiled_names(dir.path(), c.name, c.train);
        if (!c.want_name) {
            ASSERT_FALSE(r);
            EXPECT_NE(r.error().find(c.want_train), std::string::npos) << r.error();
            continue;
        }
        ASSERT_TRUE(r) << r.error();
        EXPECT_EQ(r->name, c.want_name);
        EXPECT_EQ(r->train, c.want_train);
    }
}

}  // namespace
}  // namespace scenario::tool
