// `scenario sources DIR`: the program's five text files, written into DIR
// without compiling, so an author can start from the built-in scenario.
#pragma once

#include "common/result.h"
#include "tools/commands/command.h"
#include "tools/core/file_io.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace scenario::tool {

using source_file = file_to_write;

// The five files (line description, run description, notes, slow order,
// train card) with the program's file names and exact bytes.
std::vector<source_file> program_sources();

// Writes them into `directory` (created when missing). Existing files are kept
// unless `overwrite`: an author's edited copy must not vanish by accident.
result<void> write_sources(const std::filesystem::path& directory, bool overwrite,
                           std::vector<std::filesystem::path>* written = nullptr);

struct sources_arguments {
    std::string directory;  // UTF-8
    bool force = false;
};
extern const char* const sources_description;
int run_sources(const sources_arguments& a, std::ostream& out, std::ostream& err);

extern const command sources_command;

}  // namespace scenario::tool
