#include "tools/commands/sources_command.h"

#include "common/line_list.h"
#include "compiler/source_store.h"
#include "sources/document_names.h"
#include "sources/identity.h"
#include "sources/writers.h"
#include "tools/commands/command.h"
#include "tools/commands/exit_status.h"
#include "tools/core/file_io.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <system_error>

namespace scenario::tool {

namespace fs = std::filesystem;

const char* const sources_description =
    "Writes the program's five text files into DIR (created when missing), exactly\n"
    "as the program writes them, without compiling anything:\n"
    "  Calvena_Roccalba_linea.txt                 line description (a source)\n"
    "  Calvena_Roccalba_4127-.txt                 run description (a source)\n"
    "  Calvena_Roccalba_4127_note.txt             scenario notes\n"
    "  Calvena_Roccalba_4127_rallentamenti.txt    slow order\n"
    "  Calvena_Roccalba_4127_scheda_treno.txt     train card\n"
    "\n"
    "Files that already exist are left alone and the command fails, so an edited\n"
    "copy is never lost; --force replaces them.";

std::vector<source_file> program_sources() {
    const std::string name = sorgenti::nome_scenario;
    const std::string train = sorgenti::numero_treno;
    return {
        {nome_file_linea_testo(name), testo_lista(sorgenti::righe_linea())},
        {nome_file_corsa_testo(name, train), testo_lista(sorgenti::righe_treno())},
        {sorgenti::notes_document_name(name, train), testo_lista(sorgenti::righe_note())},
        {sorgenti::slow_order_document_name(name, train), testo_lista(sorgenti::righe_rallentamenti())},
        {sorgenti::train_card_document_name(name, train), testo_lista(sorgenti::righe_scheda())},
    };
}

result<void> write_sources(const fs::path& directory, bool overwrite, std::vector<fs::path>* written) {
    return write_files(directory, program_sources(), overwrite, written);
}

int run_sources(const sources_arguments& a, std::ostream& out, std::ostream& err) {
    std::vector<fs::path> written;
    if (result<void> r = write_sources(path_from_utf8(a.directory), a.force, &written); !r) {
        err << "scenario sources: " << r.error() << "\n";
        return exit_status::usage;
    }
    for (const fs::path& p : written)
        out << "wrote " << display_path(p) << "\n";
    return exit_status::success;
}

namespace {
command_run declare_sources(CLI::App& c) {
    auto a = std::make_shared<sources_arguments>();
    add_required(c, "DIR", a->directory, "The directory to write into", "");
    c.add_flag("--force", a->force, "Replace files that exist already");
    return [a](std::ostream& out, std::ostream& err) { return run_sources(*a, out, err); };
}
}  // namespace

const command sources_command{"sources", "Write the program's five text files into DIR.", sources_description,
                              declare_sources};

}  // namespace scenario::tool
