// `scenario plan`: the compiled scenario drawn as an SVG picture.
#pragma once

#include "tools/arguments.h"
#include "tools/svg_plan.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace scenario::strumento {

// Reads the three compiled files of NAME and NUMBER in `cartella`. The line
// file may be missing (a compile without the plan); the others must be there.
struct esito_lettura_piano {
    std::optional<dati_piano> dati;
    std::string errore;
    bool non_valido = false;  // a file is there but is not a valid compiled file
};
esito_lettura_piano leggi_scenario_compilato(const std::filesystem::path& cartella, const std::string& nome,
                                             const std::string& treno);

extern const opzioni_ammesse opzioni_plan;
extern const char* const aiuto_plan;
int comando_plan(const argomenti& a, std::ostream& out, std::ostream& err);

}  // namespace scenario::strumento
