#include "tools/plan_command.h"

#include "common/file_replace.h"
#include "compiler/compiled_files.h"
#include "compiler/source_store.h"
#include "tools/compile_command.h"
#include "tools/exit_status.h"
#include "tools/file_io.h"

#include <system_error>

namespace scenario::strumento {

namespace fs = std::filesystem;

const opzioni_ammesse opzioni_plan{{"--name", "--train", "--svg"}, {}};

const char* const aiuto_plan =
    "Usage: scenario plan --name NAME --train NUMBER DIR --svg OUT.svg\n"
    "\n"
    "Draws the compiled scenario NAME / NUMBER found in DIR as an SVG picture:\n"
    "the track plan from NAME_linea.dat seen from above, with the stations\n"
    "(named), tunnels, signals and slowdowns of NAME_NUMBER.dat and\n"
    "NAME_NUMBER.sim marked along it, and the gradient profile under it.\n"
    "Without a line file (a compile with --no-plan) the line is drawn straight.\n"
    "--svg - writes the picture to standard output.\n"
    "\n"
    "Exit status: 0 drawn, 1 a compiled file is not valid, 2 usage error, a\n"
    "missing or unreadable file, or an unwritable output.\n";

esito_lettura_piano leggi_scenario_compilato(const fs::path& cartella, const std::string& nome,
                                             const std::string& treno) {
    esito_lettura_piano esito;
    dati_piano d;
    d.titolo = nome + ", train " + treno;

    const auto decodifica = [&](const fs::path& p, auto&& come) -> bool {
        file_letto f = leggi_file(p);
        if (!f.contenuto) {
            esito.errore = f.errore;
            return false;
        }
        const esito_decodifica e = come(*f.contenuto);
        if (!e.ok) {
            esito.errore = mostra_percorso(p) + ": not a valid compiled file: " + e.messaggio +
                           " (at byte offset " + std::to_string(e.offset) + ")";
            esito.non_valido = true;
            return false;
        }
        return true;
    };

    const fs::path celle = percorso_in(cartella, nome_file_celle_compilato(nome, treno));
    const fs::path corsa = percorso_in(cartella, nome_file_corsa_compilato(nome, treno));
    const fs::path linea = percorso_in(cartella, nome_file_linea_compilato(nome));
    if (!decodifica(celle, [&](std::string_view b) { return decodifica_celle(b, d.celle); }))
        return esito;
    if (!decodifica(corsa, [&](std::string_view b) { return decodifica_voci(b, d.voci); }))
        return esito;
    std::error_code ec;
    if (fs::exists(linea, ec)) {
        tracciato_linea t;
        if (!decodifica(linea, [&](std::string_view b) { return decodifica_tracciato(b, t); }))
            return esito;
        if (t.esiste())
            d.tracciato = std::move(t);
    }
    esito.dati = std::move(d);
    return esito;
}

int comando_plan(const argomenti& a, std::ostream& out, std::ostream& err) {
    std::string mancanti;
    for (const char* o : {"--name", "--train", "--svg"})
        if (!a.valore(o))
            mancanti += std::string(mancanti.empty() ? "" : ", ") + o;
    if (!mancanti.empty() || a.posizionali.size() != 1) {
        err << "scenario plan: "
            << (!mancanti.empty()       ? "missing " + mancanti
                : a.posizionali.empty() ? std::string("missing the directory DIR")
                                        : std::string("give one directory only"))
            << "\nTry 'scenario plan --help'.\n";
        return uscita::uso;
    }
    const std::string& nome = *a.valore("--name");
    const std::string& treno = *a.valore("--train");
    for (const auto& [che_cosa, valore] :
         {std::pair{"the scenario name", &nome}, std::pair{"the train number", &treno}}) {
        if (auto guasto = controlla_nome_file(che_cosa, *valore)) {
            err << "scenario plan: " << *guasto << "\n";
            return uscita::uso;
        }
    }
    const esito_lettura_piano letto = leggi_scenario_compilato(fs::path(a.posizionali[0]), nome, treno);
    if (!letto.dati) {
        err << "scenario plan: " << letto.errore << "\n";
        return letto.non_valido ? uscita::errori_trovati : uscita::uso;
    }
    const std::string svg = disegna_piano(*letto.dati);
    const std::string& uscita_svg = *a.valore("--svg");
    if (uscita_svg == "-") {
        out << svg;
        return uscita::riuscita;
    }
    if (auto guasto = sostituisci_file(fs::path(uscita_svg), svg)) {
        err << "scenario plan: " << *guasto << "\n";
        return uscita::uso;
    }
    out << "wrote " << mostra_percorso(fs::path(uscita_svg)) << "\n";
    return uscita::riuscita;
}

}  // namespace scenario::strumento
