#include "tools/commands/new_command.h"

#include "common/file_replace.h"
#include "common/line_list.h"
#include "compiler/source_store.h"
#include "tools/commands/command.h"
#include "tools/commands/exit_status.h"
#include "tools/core/file_io.h"
#include "tools/core/scenario_names.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <system_error>

namespace scenario::tool {

namespace fs = std::filesystem;

const char* const new_description =
    "Writes the two text sources of a new scenario into DIR (created when\n"
    "missing): NAME_linea.txt, the line description, and NAME_NUMBER-.txt, the\n"
    "run description. They describe a 6 km line with two curves, a gradient and\n"
    "a tunnel with its name board, and a train that leaves the first station at\n"
    "08:00:00, passes one signal and reaches the second at 08:06:00 under a\n"
    "speed limit of 80 km/h, then 60 km/h. Every value is plain and round, and\n"
    "the pair compiles without an error or a warning, with or without the track\n"
    "plan; 'scenario format KEYWORD' explains each line.\n"
    "\n"
    "Files that already exist are left alone and the command fails, so an edited\n"
    "copy is never lost; --force replaces them.";

namespace {

// The line description: 6000 m, the kilometric progressive over its length.
const char* const line_description[] = {
    "[generale]",
    "lunghezza percorso,    6000",
    "progressiva chilometrica uno,    0,    6000,    0",
    "progressiva chilometrica due,    0,    0,    0",
    "progressiva chilometrica tre,    0,    0,    0",
    "sfondo uno,    1",
    "sfondo due,    2000",
    "sfondo tre,    4000",
    "ripetizione segnali 4 codici,    0,    0",
    "[curve]",
    "curvad5,  1000,  400",
    "curvas5,  4000,  400",
    "[pendenze]",
    "pendenza,  0,  0",
    "pendenza,  1000,  10",
    "pendenza,  4000,  0",
    "[montagne]",
    "montagna,  3000,  3500,  12",
    "[indicazioni]",
    "cartello_indicatore,  2950,  (GALLERIA)(500 m.)",
    "[fine]",
};

// The run description: two stations, a signal before the second, the limit
// lowered from 4000 m on.
const char* const run_description[] = {
    "[generale]",
    "numero vetture,    3",
    "percentuale massa frenata,    120",
    "sabbia,    300",
    "orologio,    8,    0,    0",
    "[aderenze]",
    "aderenza,    0,    100",
    "[vel_limite]",
    "velocita,    0,    80",
    "velocita,    4000,    60",
    "[stazioni]",
    "stazione,    0,  4,  600,  0, 0, 0,  1,1,0,  4,1,1,    1,   8, 0, 0, PARTENZA",
    "stazione,    5800, 12,  400,  0, 0, 0,  1,1,0,  2,1,1,    0,   8, 6, 0, ARRIVO",
    "[rallentamenti]",
    "[segnali]",
    "segnale,    5000,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
    "[fine]",
};

template <std::size_t N>
std::string text_of(const char* const (&lines)[N]) {
    return testo_lista(lista_righe(std::begin(lines), std::end(lines)));
}

bool ascii(const std::string& t) {
    return std::all_of(t.begin(), t.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The names must name files and, going into the compiled files byte for
// byte, stay plain ASCII.
result<void> check_new_names(const scenario_names& n) {
    if (result<void> r = check_names(n); !r)
        return r;
    if (!ascii(n.name))
        return failure{"the scenario name '" + n.name + "' is not plain ASCII"};
    if (!ascii(n.train))
        return failure{"the train number '" + n.train + "' is not plain ASCII"};
    return {};
}

}  // namespace

std::vector<new_source> new_scenario_sources(const std::string& name, const std::string& train) {
    return {
        {nome_file_linea_testo(name), text_of(line_description)},
        {nome_file_corsa_testo(name, train), text_of(run_description)},
    };
}

int run_new(const new_arguments& a, std::ostream& out, std::ostream& err) {
    if (result<void> r = check_new_names({a.name, a.train}); !r) {
        err << "scenario new: " << r.error() << "\n";
        return exit_status::usage;
    }
    std::vector<fs::path> written;
    const fs::path directory = path_from_utf8(a.directory);
    if (result<void> r = write_files(directory, new_scenario_sources(a.name, a.train), a.force, &written);
        !r) {
        err << "scenario new: " << r.error() << "\n";
        return exit_status::usage;
    }
    for (const fs::path& p : written)
        out << "wrote " << display_path(p) << "\n";
    return exit_status::success;
}

namespace {
command_run declare_new(CLI::App& c) {
    auto a = std::make_shared<new_arguments>();
    add_required(c, "NAME", a->name, "The scenario name", "");
    add_required(c, "NUMBER", a->train, "The train number", "");
    add_required(c, "DIR", a->directory, "The directory to write into", "");
    c.add_flag("--force", a->force, "Replace files that exist already");
    return [a](std::ostream& out, std::ostream& err) { return run_new(*a, out, err); };
}
}  // namespace

const command new_command{"new", "Write the two text sources of a small new scenario into DIR.",
                          new_description, declare_new};

}  // namespace scenario::tool
