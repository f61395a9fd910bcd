// `scenario compile` and `scenario check`: any pair of text sources through
// exactly the program's compiler, the three compiled files written as the
// program writes them (compile only), and every recorded error explained.
#pragma once

#include "tools/commands/command.h"
#include "tools/core/compile_report.h"
#include "tools/core/scenario_names.h"
#include "tools/words/warning_words.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace scenario::tool {

struct compile_request {
    named_sources sources;                // the two text sources and the names
    bool plan = true;                     // false: j = 0, no track plan and no line file
    std::filesystem::path out_dir = ".";  // where the compiled files go
};

// What the command does beyond compiling.
struct compile_settings {
    bool write = true;                  // false: compile and report only, write nothing
    std::vector<warning_code> ignored;  // warnings not to report
    train_model train;                  // for the running-time estimates
};

// Compiles the two files, in memory, and writes the compiled files. The
// sources are read first, so the compiler's own steps that delete its
// sources never touch them.
compile_result compile_sources(const compile_request& r, const compile_settings& o = {});

// The command's words, UTF-8.
struct compile_arguments {
    std::string line;  // line description text source
    std::string run;   // run description text source
    std::string name;  // empty: from the file names
    std::string train;
    std::string out = ".";
    bool no_plan = false;
    bool json = false;
    bool strict = false;              // a warning makes the exit status 1
    bool verbose = false;             // list each warning's consequences
    std::vector<std::string> ignore;  // warning codes not to report
    train_model model;                // check: the estimate's train
    std::string documents;            // check: the directory of the driver's documents to compare
    std::string details;              // check --documents: the author's details file
};
extern const char* const compile_description;
int run_compile(const compile_arguments& a, std::ostream& out, std::ostream& err);

// `scenario check`: the same compile, nothing written.
extern const char* const check_description;
int run_check(const compile_arguments& a, std::ostream& out, std::ostream& err);

extern const command compile_command;
extern const command check_command;

}  // namespace scenario::tool
