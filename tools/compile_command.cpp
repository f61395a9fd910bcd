#include "tools/compile_command.h"

#include "compiler/compile_driver.h"
#include "compiler/compiled_files.h"
#include "compiler/errors.h"
#include "compiler/source_store.h"
#include "compiler/state.h"
#include "tools/exit_status.h"
#include "tools/file_io.h"
#include "tools/json_writer.h"

#include <system_error>

namespace scenario::strumento {

namespace fs = std::filesystem;

const opzioni_ammesse opzioni_compile{{"--line", "--run", "--name", "--train", "--out"},
                                      {"--no-plan", "--json"}};

const char* const aiuto_compile =
    "Usage: scenario compile --line FILE --run FILE --name NAME --train NUMBER\n"
    "                        [--no-plan] [--out DIR] [--json]\n"
    "\n"
    "Compiles a line description and a run description with the program's own\n"
    "compiler and writes the three compiled files into DIR (default: the current\n"
    "directory, created when missing):\n"
    "  NAME_linea.dat           line file (track plan; not written with --no-plan)\n"
    "  NAME_NUMBER.sim          run file\n"
    "  NAME_NUMBER.dat          cell file\n"
    "The input files are only read, never changed or deleted.\n"
    "\n"
    "Every error the compile records is reported with its number, what is wrong,\n"
    "the position in metres and the file and line behind it:\n"
    "  reader errors stop the reading (as in the program, the files are still\n"
    "  written from what was read); sweep errors (11, 12, 13) let the compile go\n"
    "  on; a fatal stamp error (1250, 1251) stops it and no file is written.\n"
    "The error record the program keeps holds only the last error.\n"
    "\n"
    "  --no-plan   compile without the track plan (the program's j = 0)\n"
    "  --json      print one JSON object instead of text\n"
    "\n"
    "Exit status: 0 no error recorded, 1 errors recorded, 2 usage error,\n"
    "unreadable input or unwritable output.\n";

std::optional<std::string> controlla_nome_file(const std::string& che_cosa, const std::string& valore) {
    if (valore.empty())
        return che_cosa + " is empty";
    for (unsigned char c : valore) {
        if (c < 0x20 || c == 0x7F)
            return che_cosa + " \"" + valore + "\" holds a control character";
        if (std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return che_cosa + " \"" + valore + "\" holds '" + std::string(1, static_cast<char>(c)) +
                   "', which cannot stand in a file name";
    }
    if (valore == "." || valore == "..")
        return che_cosa + " \"" + valore + "\" cannot name a file";
    return std::nullopt;
}

namespace {

bool stesso_file(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::exists(a, ec) && fs::exists(b, ec) && fs::equivalent(a, b, ec);
}

}  // namespace

esito_compilazione compila_sorgenti(const richiesta_compilazione& r) {
    esito_compilazione esito;
    for (const auto& [che_cosa, valore] :
         {std::pair{"the scenario name", &r.nome_scenario}, std::pair{"the train number", &r.numero_treno}}) {
        if (auto guasto = controlla_nome_file(che_cosa, *valore)) {
            esito.guasto = *guasto;
            return esito;
        }
    }
    file_letto linea = leggi_file(r.linea);
    file_letto corsa = leggi_file(r.corsa);
    if (!linea.contenuto || !corsa.contenuto) {
        esito.guasto = !linea.contenuto ? linea.errore : corsa.errore;
        return esito;
    }

    // The compiled files must never replace an input file.
    const std::vector<fs::path> uscite = {
        percorso_in(r.cartella, nome_file_linea_compilato(r.nome_scenario)),
        percorso_in(r.cartella, nome_file_corsa_compilato(r.nome_scenario, r.numero_treno)),
        percorso_in(r.cartella, nome_file_celle_compilato(r.nome_scenario, r.numero_treno)),
    };
    for (const fs::path& u : uscite) {
        for (const fs::path* in : {&r.linea, &r.corsa}) {
            if (stesso_file(u, *in)) {
                esito.guasto = mostra_percorso(u) + ": the compiled file would replace the input file " +
                               mostra_percorso(*in);
                return esito;
            }
        }
    }

    stato_scenario s;
    s.nome_scenario = r.nome_scenario;
    s.numero_treno = r.numero_treno;
    const int32_t j = r.piano ? 1 : 0;
    sorgenti_in_memoria sorgenti{*linea.contenuto, *corsa.contenuto};
    compile_log log;
    const std::optional<error_code> timbro = compila_scenario(s, j, sorgenti, {}, &log);
    esito.compilato = true;

    esito.errori = diagnostica(s, log, timbro);
    esito.codice_errore = s.codice_errore;
    esito.posizione_errore = s.posizione_errore;
    if (timbro) {
        // As in the program: the stamp error ends the compile, nothing is written.
        esito.fatale = error_number(*timbro);
        return esito;
    }

    std::error_code ec;
    fs::create_directories(r.cartella, ec);
    if (ec || !fs::is_directory(r.cartella, ec)) {
        esito.guasto = mostra_percorso(r.cartella) + ": cannot create the output directory";
        return esito;
    }
    if (auto guasto = scrivi_file_compilati(s, r.cartella)) {
        esito.guasto = *guasto;
        return esito;
    }
    for (std::size_t i = r.piano ? 0 : 1; i < uscite.size(); ++i)
        esito.scritti.push_back(uscite[i]);
    return esito;
}

namespace {

// The file an author named for a diagnosis, as typed.
std::optional<std::string> file_di(const diagnosi& d, const argomenti& a) {
    if (!d.sorgente)
        return std::nullopt;
    const std::string* f = a.valore(*d.sorgente == sorgente_testo::linea ? "--line" : "--run");
    return f ? std::optional<std::string>(*f) : std::nullopt;
}

// The same in UTF-8, for JSON (command-line text is in the system's code page on Windows).
void scrivi_file_json(scrittore_json& j, const diagnosi& d, const argomenti& a) {
    j.chiave("file");
    if (auto f = file_di(d, a))
        j.testo(mostra_percorso(fs::path(*f)));
    else
        j.nullo();
}

void scrivi_diagnosi_json(scrittore_json& j, const diagnosi& d, const argomenti& a) {
    j.campo("codice", d.codice);
    j.campo("severity", nome_gravita(d.gravita));
    j.chiave("posizione");
    if (d.posizione)
        j.intero(*d.posizione);
    else
        j.nullo();
    scrivi_file_json(j, d, a);
    j.chiave("line");
    if (d.riga > 0)
        j.intero(d.riga);
    else
        j.nullo();
    j.campo("message", d.messaggio);
    j.campo("description", error_description(d.code));
}

void riporta_json(const esito_compilazione& e, const argomenti& a, std::ostream& out) {
    scrittore_json j(out);
    j.inizia_oggetto();
    j.campo("codice_errore", e.fatale ? *e.fatale : e.codice_errore);
    j.campo("posizione_errore", e.posizione_errore);
    const diagnosi* ultima = e.errori.empty() ? nullptr : &e.errori.back();
    if (ultima) {
        scrivi_file_json(j, *ultima, a);
        j.chiave("line");
        if (ultima->riga > 0)
            j.intero(ultima->riga);
        else
            j.nullo();
        j.campo("message", ultima->messaggio);
        j.campo("severity", nome_gravita(ultima->gravita));
    } else {
        for (const char* k : {"file", "line", "message", "severity"}) {
            j.chiave(k);
            j.nullo();
        }
    }
    j.campo("fatal", e.fatale.has_value());
    j.chiave("errors");
    j.inizia_lista();
    for (const diagnosi& d : e.errori) {
        j.inizia_oggetto(true);
        scrivi_diagnosi_json(j, d, a);
        j.chiudi_oggetto();
    }
    j.chiudi_lista();
    j.chiave("written");
    j.inizia_lista();
    for (const fs::path& p : e.scritti)
        j.testo(mostra_percorso(p));
    j.chiudi_lista();
    j.chiave("failure");
    if (e.guasto)
        j.testo(*e.guasto);
    else
        j.nullo();
    j.chiudi_oggetto();
}

void riporta_testo(const esito_compilazione& e, const argomenti& a, std::ostream& out, std::ostream& err) {
    for (const diagnosi& d : e.errori) {
        if (auto f = file_di(d, a)) {
            err << *f;
            if (d.riga > 0)
                err << ":" << d.riga;
            err << ": ";
        } else {
            err << "scenario compile: ";
        }
        err << nome_gravita(d.gravita) << " error " << d.codice;
        if (d.posizione)
            err << " at " << *d.posizione << " m";
        err << ": " << d.messaggio << " [" << effetto_gravita(d.gravita) << "]\n";
    }
    if (e.codice_errore != 0) {
        err << "error record: codice_errore " << e.codice_errore << ", posizione_errore "
            << e.posizione_errore;
        if (e.errori.size() > 1)
            err << " (the last of " << e.errori.size() << " errors)";
        err << "\n";
    }
    for (const fs::path& p : e.scritti)
        out << "wrote " << mostra_percorso(p) << "\n";
    if (e.compilato && e.errori.empty() && !e.guasto)
        out << "compiled without errors\n";
}

}  // namespace

int comando_compile(const argomenti& a, std::ostream& out, std::ostream& err) {
    std::string mancanti;
    for (const char* o : {"--line", "--run", "--name", "--train"})
        if (!a.valore(o))
            mancanti += std::string(mancanti.empty() ? "" : ", ") + o;
    if (!mancanti.empty() || !a.posizionali.empty()) {
        err << "scenario compile: "
            << (!mancanti.empty() ? "missing " + mancanti : "unexpected argument " + a.posizionali.front())
            << "\nTry 'scenario compile --help'.\n";
        return uscita::uso;
    }
    richiesta_compilazione r;
    r.linea = fs::path(*a.valore("--line"));
    r.corsa = fs::path(*a.valore("--run"));
    r.nome_scenario = *a.valore("--name");
    r.numero_treno = *a.valore("--train");
    r.piano = !a.ha("--no-plan");
    if (const std::string* o = a.valore("--out"))
        r.cartella = fs::path(*o);

    const esito_compilazione e = compila_sorgenti(r);
    if (a.ha("--json"))
        riporta_json(e, a, out);
    else
        riporta_testo(e, a, out, err);
    if (e.guasto) {
        if (!a.ha("--json"))
            err << "scenario compile: " << *e.guasto << "\n";
        return uscita::uso;
    }
    return e.errori.empty() && e.codice_errore == 0 ? uscita::riuscita : uscita::errori_trovati;
}

}  // namespace scenario::strumento
