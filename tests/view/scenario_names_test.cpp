// The scenario name and train number taken from the text sources' file names.
#include "tools/report/scenario_names.h"

#include <gtest/gtest.h>

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
        const names_result r = complete_names(c.line, c.run, c.name, c.train);
        if (!c.want_name) {
            EXPECT_FALSE(r.names);
            EXPECT_NE(r.error.find("give it with --"), std::string::npos) << r.error;
            continue;
        }
        ASSERT_TRUE(r.names) << r.error;
        EXPECT_EQ(r.names->name, c.want_name);
        EXPECT_EQ(r.names->train, c.want_train);
        EXPECT_EQ(r.names->guessed, c.guessed);
    }
}

}  // namespace
}  // namespace scenario::tool
