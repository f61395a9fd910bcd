// The words that end an unfinished run, in the players' language: "Scenario
// non completato: " and what failed, with the file and the cause.
#pragma once

#include "common/file_replace.h"

#include <string>

namespace scenario {

// `cause` is the system's own text for `f.cause` (piattaforma::system_error_text).
std::string unfinished_run_message(const file_failure& f, const std::string& cause);

// A file failure that comes already described in English by describe_failure()
// (the compiled files): the same facts in Italian. Any other text is kept as it is.
std::string unfinished_run_message(const std::string& description);

// The program cannot find the directory that holds it.
std::string unfinished_run_without_directory();

}  // namespace scenario
