// Which sources and which names a command works on: the scenario name and
// train number an author gave, or took from the file names (the text sources
// NAME_linea.txt and NAME_NUMBER-.txt, or the compiled files NAME_NUMBER.sim
// and NAME_NUMBER.dat in a directory). Every command asks here.
#pragma once

#include "common/result.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::tool {

struct scenario_names {
    std::string name;      // the scenario name, e.g. "Calvena_Roccalba"
    std::string train;     // the train number, e.g. "4127"
    bool guessed = false;  // at least one of them came from a file name
};

// The two text sources a command reads and the names their compile gets.
struct named_sources {
    std::filesystem::path line_file;
    std::filesystem::path run_file;
    scenario_names names;
};

// The front door for commands that read text sources: the two files as typed
// (UTF-8) and the names given (either may be empty: it is then taken from the
// file names). Both names are checked to be able to name files.
result<named_sources> name_sources(const std::string& line, const std::string& run, const std::string& name,
                                   const std::string& train);

// The front door for commands that read compiled files: the names given, or
// those of the one compiled scenario in `directory` (a NAME_NUMBER.sim file;
// where the name could split at more than one '_', the split with a
// NAME_linea.dat beside it wins). Several scenarios there, or none, is an
// error that lists what was found.
result<scenario_names> compiled_names(const std::filesystem::path& directory, const std::string& name,
                                      const std::string& train);

// Completes `name` and `train` (either may be empty) from the text sources'
// file names. A given value is kept as it is; a missing one must follow from
// the names: the line file must end in "_linea.txt", the run file must be the
// scenario name, "_", the number and "-.txt".
result<scenario_names> complete_names(const std::filesystem::path& line_file,
                                      const std::filesystem::path& run_file, const std::string& name,
                                      const std::string& train);

// The file-name rules of the text sources, on a file name alone (no folder):
// the scenario name of NAME_linea.txt, and the NAME_NUMBER of NAME_NUMBER-.txt
// (either part may hold '_'); none when the name is not one, or is only the
// ending. The other way round: nome_file_linea_testo, nome_file_corsa_testo.
std::optional<std::string> name_of_line_file(std::string_view file_name);
std::optional<std::string> stem_of_run_file(std::string_view file_name);
// Every way NAME_NUMBER splits at a '_' into two names that are not empty,
// the shortest NAME first; the caller picks by the files beside it.
std::vector<scenario_names> name_splits(const std::string& stem);

// The three compiled files, told apart by name: NAME_linea.dat is a line
// file, NAME_NUMBER.sim a run file, any other .dat a cell file (any case).
enum class compiled_kind { line, run, cells };
std::optional<compiled_kind> kind_from_name(const std::filesystem::path& p);
// The name the compile gives a file of that kind.
std::string compiled_file_name(compiled_kind kind, const scenario_names& n);

// The sentence that tells the author what was taken from the file names.
std::string describe_guess(const scenario_names& n);

// Whether a scenario name or train number can name files; why not when not.
result<void> check_file_name(const std::string& what, const std::string& value);
// Both names of a scenario, checked alike.
result<void> check_names(const scenario_names& n);

}  // namespace scenario::tool
