// `scenario compile`: any pair of text sources through exactly the program's
// compiler, the three compiled files written as the program writes them, and
// every recorded error explained to the author.
#pragma once

#include "tools/report/diagnostics.h"
#include "tools/report/scenario_names.h"
#include "tools/report/warning_words.h"

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The compile itself and its result keep the names the diagnostics use; the
// command's own part is in scenario::tool below.
namespace scenario::tool {

struct compile_request {
    std::filesystem::path line_file;  // line description text source
    std::filesystem::path run_file;   // run description text source
    std::string nome_scenario;
    std::string numero_treno;
    bool plan = true;                     // false: j = 0, no track plan and no line file
    std::filesystem::path out_dir = ".";  // where the compiled files go
};

// What the command does beyond compiling.
struct compile_settings {
    bool write = true;                  // false: compile and report only, write nothing
    std::vector<warning_code> ignored;  // warnings not to report
};

struct compile_result {
    // Set when the command could not do its job (unreadable input, bad name,
    // unwritable output); the compile may still have run and diagnosed.
    std::optional<std::string> failure;
    bool compiled = false;
    std::vector<diagnosis> errors;  // every recorded error, in order
    worded_warnings warnings;       // the warnings, the ignored ones left out
    int32_t codice_errore = 0;      // the error record as the program leaves it
    int32_t posizione_errore = 0;
    std::optional<int32_t> fatal;  // 1250 or 1251: nothing was written
    std::vector<std::filesystem::path> written;
};

// Compiles the two files. They are read into memory first, so the compiler's
// own steps that delete its sources never touch them.
compile_result compile_sources(const compile_request& r, const compile_settings& o = {});

}  // namespace scenario::tool

namespace scenario::tool {

// The command's words, UTF-8.
struct compile_arguments {
    std::string line;  // line description text source
    std::string run;   // run description text source
    std::string name;
    std::string train;
    std::string out = ".";
    bool no_plan = false;
    bool json = false;
    bool strict = false;              // a warning makes the exit status 1
    std::vector<std::string> ignore;  // warning codes not to report
};
extern const char* const compile_description;
int run_compile(const compile_arguments& a, std::ostream& out, std::ostream& err);

// `scenario check`: the same compile, nothing written; the name and train
// number may come from the file names.
extern const char* const check_description;
int run_check(const compile_arguments& a, std::ostream& out, std::ostream& err);

}  // namespace scenario::tool
