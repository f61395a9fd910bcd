// The words that end an unfinished run, in the players' language: "Scenario
// non completato: " and what failed, with the file and the cause.
#pragma once

#include "common/file_replace.h"

#include <string>

namespace scenario {

// `cause` is the system's own text for `f.cause` (piattaforma::system_error_text).
std::string unfinished_run_message(const file_failure& f, const std::string& cause);

// Anything else that stopped the run (an exception's own text), kept as it is.
std::string unfinished_run_message(const std::string& description);

// The program cannot find the directory that holds it.
std::string unfinished_run_without_directory();

}  // namespace scenario
