#include "tools/sources_command.h"

#include "common/file_replace.h"
#include "common/line_list.h"
#include "compiler/source_store.h"
#include "sources/identity.h"
#include "sources/writers.h"
#include "tools/exit_status.h"
#include "tools/file_io.h"

#include <system_error>

namespace scenario::strumento {

namespace fs = std::filesystem;

const opzioni_ammesse opzioni_sources{{}, {"--force"}};

const char* const aiuto_sources =
    "Usage: scenario sources DIR [--force]\n"
    "\n"
    "Writes the program's five text files into DIR (created when missing), exactly\n"
    "as the program writes them, without compiling anything:\n"
    "  Calvena_Roccalba_linea.txt                 line description (a source)\n"
    "  Calvena_Roccalba_4127-.txt                 run description (a source)\n"
    "  Calvena_Roccalba_4127_note.txt             scenario notes\n"
    "  Calvena_Roccalba_4127_rallentamenti.txt    slow order\n"
    "  Calvena_Roccalba_4127_scheda_treno.txt     train card\n"
    "\n"
    "Files that already exist are left alone and the command fails, so an edited\n"
    "copy is never lost; --force replaces them.\n";

std::vector<file_sorgente> sorgenti_programma() {
    const std::string nome = sorgenti::nome_scenario;
    const std::string treno = sorgenti::numero_treno;
    const std::string documento = nome + "_" + treno + "_";
    return {
        {nome_file_linea_testo(nome), testo_lista(sorgenti::righe_linea())},
        {nome_file_corsa_testo(nome, treno), testo_lista(sorgenti::righe_treno())},
        {documento + "note.txt", testo_lista(sorgenti::righe_note())},
        {documento + "rallentamenti.txt", testo_lista(sorgenti::righe_rallentamenti())},
        {documento + "scheda_treno.txt", testo_lista(sorgenti::righe_scheda())},
    };
}

std::optional<std::string> scrivi_sorgenti(const fs::path& cartella, bool sovrascrivi,
                                           std::vector<fs::path>* scritti) {
    std::error_code ec;
    fs::create_directories(cartella, ec);
    if (ec || !fs::is_directory(cartella, ec))
        return mostra_percorso(cartella) + ": cannot create the directory" + (ec ? ": " + ec.message() : "");

    const std::vector<file_sorgente> files = sorgenti_programma();
    if (!sovrascrivi) {
        std::string esistenti;
        for (const file_sorgente& f : files) {
            const fs::path p = percorso_in(cartella, f.nome);
            if (fs::exists(fs::symlink_status(p, ec)))
                esistenti += "\n  " + mostra_percorso(p);
        }
        if (!esistenti.empty())
            return "these files exist already and were left alone (use --force to replace them):" + esistenti;
    }
    for (const file_sorgente& f : files) {
        const fs::path p = percorso_in(cartella, f.nome);
        if (auto guasto = sostituisci_file(p, f.contenuto))
            return *guasto;
        if (scritti)
            scritti->push_back(p);
    }
    return std::nullopt;
}

int comando_sources(const argomenti& a, std::ostream& out, std::ostream& err) {
    if (a.posizionali.size() != 1) {
        err << "scenario sources: "
            << (a.posizionali.empty() ? "missing the directory DIR" : "give one directory only")
            << "\nTry 'scenario sources --help'.\n";
        return uscita::uso;
    }
    std::vector<fs::path> scritti;
    if (auto guasto = scrivi_sorgenti(fs::path(a.posizionali[0]), a.ha("--force"), &scritti)) {
        err << "scenario sources: " << *guasto << "\n";
        return uscita::uso;
    }
    for (const fs::path& p : scritti)
        out << "wrote " << mostra_percorso(p) << "\n";
    return uscita::riuscita;
}

}  // namespace scenario::strumento
