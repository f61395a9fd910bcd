// `scenario sources DIR`: the program's five text files, written into DIR
// without compiling, so an author can start from the built-in scenario.
#pragma once

#include "tools/arguments.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace scenario::strumento {

struct file_sorgente {
    std::string nome;
    std::string contenuto;
};

// The five files (line description, run description, notes, slow order,
// train card) with the program's file names and exact bytes.
std::vector<file_sorgente> sorgenti_programma();

// Writes them into `cartella` (created when missing). Existing files are kept
// unless `sovrascrivi`: an author's edited copy must not vanish by accident.
// Gives nothing on success, or what went wrong.
std::optional<std::string> scrivi_sorgenti(const std::filesystem::path& cartella, bool sovrascrivi,
                                           std::vector<std::filesystem::path>* scritti = nullptr);

extern const opzioni_ammesse opzioni_sources;
extern const char* const aiuto_sources;
int comando_sources(const argomenti& a, std::ostream& out, std::ostream& err);

}  // namespace scenario::strumento
