#include "tools/commands/package_command.h"

#include "tools/commands/command.h"
#include "tools/commands/exit_status.h"
#include "tools/core/file_io.h"
#include "tools/documents/package_writer.h"

#include <CLI/CLI.hpp>
#include <memory>

namespace scenario::tool {

const char* const package_description =
    "Compiles two text sources as 'compile' does and writes the whole package of\n"
    "the scenario into DIR (default: the current directory, created when missing),\n"
    "each file replaced whole:\n"
    "  NAME_linea.dat, NAME_NUMBER.sim, NAME_NUMBER.dat   the compiled files\n"
    "  NAME_NUMBER_scheda_treno.txt                       the train card\n"
    "  NAME_NUMBER_rallentamenti.txt                      the slow order\n"
    "  NAME_NUMBER_note.txt                               the scenario notes\n"
    "The documents are laid out as the program's own (CR LF, Windows-1252). What\n"
    "the sources do not say (speed category, classification, braked mass, the\n"
    "line's name, spellings, passing times, kilometre posts, prescriptions, the\n"
    "notes' text) comes from the details file: --details FILE, or\n"
    "NAME_NUMBER_documenti.json beside the run description; 'scenario format'\n"
    "lists its keys and the rules the documents follow. Sources with errors\n"
    "give no package.";

int run_package(const package_arguments& a, std::ostream& out, std::ostream& err) {
    const char* who = "scenario package";
    result<named_sources> sources = name_sources(a.line, a.run, a.name, a.train);
    if (!sources) {
        err << who << ": " << sources.error() << "\n";
        return exit_status::usage;
    }
    if (sources->names.guessed)
        err << who << ": " << describe_guess(sources->names) << "\n";
    std::optional<std::filesystem::path> given;
    if (!a.details.empty())
        given = path_from_utf8(a.details);
    std::optional<std::filesystem::path> used;
    result<author_details> details = find_author_details(*sources, given, &used);
    if (!details) {
        err << who << ": " << details.error() << "\n";
        return exit_status::errors_found;
    }
    if (used)
        out << "details: " << display_path(*used) << "\n";
    result<package_outcome> done = write_package(*sources, *details, path_from_utf8(a.out));
    if (!done) {
        err << who << ": " << done.error() << "\n";
        return exit_status::errors_found;
    }
    for (const std::filesystem::path& p : done->written)
        out << "wrote " << display_path(p) << "\n";
    return exit_status::success;
}

namespace {
command_run declare_package(CLI::App& c) {
    auto a = std::make_shared<package_arguments>();
    add_source_options(c, a->line, a->run, a->name, a->train);
    c.add_option("--out", a->out, "Where the package goes (default: the current directory)")
        ->type_name("DIR");
    c.add_option("--details", a->details, "The author's details (JSON)")->type_name("FILE");
    return [a](std::ostream& out, std::ostream& err) { return run_package(*a, out, err); };
}
}  // namespace

const command package_command{"package", "Write the compiled files and the driver's documents.",
                              package_description, declare_package};

}  // namespace scenario::tool
