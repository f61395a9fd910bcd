// The Italian words of an unfinished run: every step of a file replacement,
// from the facts the text files and the compiled files bring alike.
#include "app/failure_message.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

struct step_case {
    const char* name;
    replace_step step;
    const char* italian;
};

class FailureMessage : public ::testing::TestWithParam<step_case> {};

TEST_P(FailureMessage, NamesTheFileAndTheCauseInItalian) {
    const file_failure f{GetParam().step, std::filesystem::path("/giochi/prova \u00e8/x.dat"),
                         std::make_error_code(std::errc::no_space_on_device)};
    const std::string expected = std::string("Scenario non completato: ") + GetParam().italian +
                                 " \"/giochi/prova \u00e8/x.dat\": Spazio esaurito";
    EXPECT_EQ(unfinished_run_message(f, "Spazio esaurito"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailureMessage,
    ::testing::Values(step_case{"Open", replace_step::open, "impossibile aprire il file"},
                      step_case{"Create", replace_step::create, "impossibile creare il file"},
                      step_case{"Write", replace_step::write, "impossibile scrivere il file"},
                      step_case{"Replace", replace_step::replace, "impossibile sostituire il file"}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(FailureMessageText, UnknownCauseQuotesInTheNameAndOtherText) {
    const file_failure unknown{replace_step::write, std::filesystem::path("a.dat"), {}};
    EXPECT_EQ(unfinished_run_message(unknown, ""),
              "Scenario non completato: impossibile scrivere il file \"a.dat\": causa sconosciuta");
    // A name that holds quotes and the separator stays whole.
    const file_failure quoted{replace_step::open, std::filesystem::path("a\": b.dat"), {}};
    EXPECT_EQ(unfinished_run_message(quoted, "Accesso negato"),
              "Scenario non completato: impossibile aprire il file \"a\": b.dat\": Accesso negato");
    // Any other text that stopped the run is kept as it is.
    EXPECT_EQ(unfinished_run_message(std::string("std::bad_alloc")),
              "Scenario non completato: std::bad_alloc");
    EXPECT_EQ(unfinished_run_without_directory(),
              "Scenario non completato: impossibile trovare la cartella che contiene il programma");
}

}  // namespace
}  // namespace scenario
