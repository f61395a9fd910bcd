#include "tools/dump_command.h"

#include "compiler/compiled_files.h"
#include "compiler/state.h"
#include "compiler/text_case.h"
#include "tools/exit_status.h"
#include "tools/file_io.h"
#include "tools/json_writer.h"
#include "tools/text_encoding.h"

#include <array>
#include <charconv>
#include <vector>

namespace scenario::strumento {

namespace fs = std::filesystem;

const opzioni_ammesse opzioni_dump{{"--points", "--kind"}, {}};

const char* const aiuto_dump =
    "Usage: scenario dump FILE... [--points FROM:TO] [--kind line|run|cells]\n"
    "\n"
    "Decodes compiled files into one JSON array, one object per file:\n"
    "  cell file (NAME_NUMBER.dat)  every cell with its eleven fields\n"
    "  run file  (NAME_NUMBER.sim)  every record of voci with its fields\n"
    "  line file (NAME_linea.dat)   the number of track plan points, and with\n"
    "                               --points FROM:TO the points FROM to TO (in\n"
    "                               metres, both included; FROM: runs to the end)\n"
    "                               as {\"p\", \"x\", \"y\"}: null for a value never\n"
    "                               assigned, an integer for a 16-bit value, a\n"
    "                               number with a decimal point for a double\n"
    "The kind of file comes from its name, else from its content; --kind forces it.\n"
    "A file that is not valid is reported with the byte offset where it stops\n"
    "making sense.\n"
    "\n"
    "Exit status: 0 every file decoded, 1 a file is not a valid compiled file,\n"
    "2 usage error or a file that cannot be read.\n";

const char* nome_tipo(tipo_compilato t) {
    switch (t) {
        case tipo_compilato::linea:
            return "line";
        case tipo_compilato::corsa:
            return "run";
        case tipo_compilato::celle:
            return "cells";
    }
    return "cells";
}

std::optional<tipo_compilato> tipo_da_testo(std::string_view t) {
    if (t == "line")
        return tipo_compilato::linea;
    if (t == "run")
        return tipo_compilato::corsa;
    if (t == "cells")
        return tipo_compilato::celle;
    return std::nullopt;
}

namespace {

bool finisce_con(const std::string& t, std::string_view fine) {
    return t.size() >= fine.size() && t.compare(t.size() - fine.size(), fine.size(), fine) == 0;
}

struct file_decodificato {
    std::optional<tipo_compilato> tipo;
    const char* riconosciuto = "name";
    esito_decodifica esito;
    tracciato_linea tracciato;
    std::array<voce, numero_voci> voci{};
    std::vector<cella> celle;
};

bool tipo_cella_noto(uint8_t t) {
    switch (t) {
        case tipo_cella::libera:
        case tipo_cella::segnale:
        case tipo_cella::fine_rallentamento:
        case tipo_cella::inizio_rallentamento:
        case tipo_cella::avviso_rallentamento:
        case tipo_cella::approccio_rallentamento:
        case tipo_cella::indicatore_vmax:
        case tipo_cella::fermata:
        case tipo_cella::lampada_galleria:
        case tipo_cella::segno:
        case tipo_cella::abbattimento_senza_valore:
        case tipo_cella::cartello_galleria:
            return true;
        default:
            return false;
    }
}

void decodifica_come(tipo_compilato t, std::string_view dati, file_decodificato& f) {
    f.tipo = t;
    switch (t) {
        case tipo_compilato::linea:
            f.esito = decodifica_tracciato(dati, f.tracciato);
            break;
        case tipo_compilato::corsa:
            f.esito = decodifica_voci(dati, f.voci);
            break;
        case tipo_compilato::celle:
            f.esito = decodifica_celle(dati, f.celle);
            break;
    }
}

// Without a telling name: the decoder that accepts the content, most
// demanding first. A cell file has no structure beyond its record size, so
// content only passes as cells when every cell kind is a known one.
void riconosci_contenuto(std::string_view dati, file_decodificato& f) {
    f.riconosciuto = "content";
    std::string perche;
    std::size_t offset = 0;
    const auto annota = [&](const char* come, const esito_decodifica& e) {
        perche += std::string(perche.empty() ? "" : "; ") + "as a " + come + " file: " + e.messaggio +
                  " at offset " + std::to_string(e.offset);
        offset = std::max(offset, e.offset);
    };

    decodifica_come(tipo_compilato::corsa, dati, f);
    if (f.esito.ok)
        return;
    annota("run", f.esito);

    decodifica_come(tipo_compilato::linea, dati, f);
    if (f.esito.ok && f.tracciato.esiste())
        return;
    if (f.esito.ok)
        f.esito = {false, 0, "no values"};
    annota("line", f.esito);

    decodifica_come(tipo_compilato::celle, dati, f);
    if (f.esito.ok && !f.celle.empty()) {
        for (std::size_t i = 0; i < f.celle.size(); ++i) {
            if (!tipo_cella_noto(f.celle[i].tipo)) {
                f.esito = {
                    false, i * 15,
                    "unknown cell kind " + std::to_string(f.celle[i].tipo) + " in cell " + std::to_string(i)};
                break;
            }
        }
        if (f.esito.ok)
            return;
    } else if (f.esito.ok) {
        f.esito = {false, 0, "no cells"};
    }
    annota("cell", f.esito);

    f.tipo.reset();
    f.esito = {false, offset, "not a compiled file (" + perche + ")"};
}

void scrivi_celle(scrittore_json& j, const std::vector<cella>& celle) {
    j.campo("cells", static_cast<int64_t>(celle.size()));
    j.chiave("celle");
    j.inizia_lista();
    for (std::size_t i = 0; i < celle.size(); ++i) {
        const cella& c = celle[i];
        j.inizia_oggetto(true);
        j.campo("indice", static_cast<int64_t>(i));
        j.campo("tipo", c.tipo);
        j.campo("dato1", c.dato1);
        j.campo("dato2", c.dato2);
        j.campo("dato3", c.dato3);
        j.campo("dato4", c.dato4);
        j.campo("dato5", c.dato5);
        j.campo("dato6", c.dato6);
        j.campo("galleria", c.galleria);
        j.campo("velocita", c.velocita);
        j.campo("pendenza", c.pendenza);
        j.campo("aderenza", c.aderenza);
        j.chiudi_oggetto();
    }
    j.chiudi_lista();
}

void scrivi_voci(scrittore_json& j, const std::array<voce, numero_voci>& voci) {
    j.chiave("voci");
    j.inizia_lista();
    for (std::size_t i = 0; i < voci.size(); ++i) {
        const voce& v = voci[i];
        j.inizia_oggetto(true);
        j.campo("indice", static_cast<int64_t>(i));
        j.campo("tipo", v.tipo);
        j.campo("valore1", v.valore1);
        j.campo("valore2", v.valore2);
        j.campo("valore3", v.valore3);
        j.campo("byte1", v.byte1);
        j.campo("testo", da_windows1252(v.testo));
        j.campo("intero1", v.intero1);
        j.campo("intero2", v.intero2);
        j.campo("intero3", v.intero3);
        j.campo("intero4", v.intero4);
        j.campo("intero5", v.intero5);
        j.campo("byte2", v.byte2);
        j.campo("byte3", v.byte3);
        j.campo("byte4", v.byte4);
        j.campo("byte5", v.byte5);
        j.campo("valore4", v.valore4);
        j.chiudi_oggetto();
    }
    j.chiudi_lista();
}

void scrivi_valore(scrittore_json& j, const valore_tracciato& v) {
    switch (v.tipo) {
        case valore_tracciato::etichetta::intero:
            j.intero(v.intero);
            return;
        case valore_tracciato::etichetta::reale:
            j.reale(v.reale);
            return;
        case valore_tracciato::etichetta::vuoto:
            break;
    }
    j.nullo();
}

void scrivi_tracciato(scrittore_json& j, const tracciato_linea& t,
                      const std::optional<intervallo_punti>& punti) {
    const int64_t n = t.esiste() ? static_cast<int64_t>(t.punti()) : 0;
    j.campo("points", n);
    if (!punti)
        return;
    const int64_t da = punti->da;
    const int64_t a = std::min(punti->a.value_or(n - 1), n - 1);
    j.campo("from", da);
    j.campo("to", a);
    j.chiave("punti");
    j.inizia_lista();
    for (int64_t p = da; p <= a; ++p) {
        j.inizia_oggetto(true);
        j.campo("p", p);
        j.chiave("x");
        scrivi_valore(j, t.at(static_cast<int32_t>(p), 0));
        j.chiave("y");
        scrivi_valore(j, t.at(static_cast<int32_t>(p), 1));
        j.chiudi_oggetto();
    }
    j.chiudi_lista();
}

}  // namespace

std::optional<tipo_compilato> tipo_da_nome(const fs::path& p) {
    const std::u8string u = p.filename().u8string();
    const std::string nome = lower_ascii(std::string(u.begin(), u.end()));
    if (finisce_con(nome, "_linea.dat"))
        return tipo_compilato::linea;
    if (finisce_con(nome, ".sim"))
        return tipo_compilato::corsa;
    if (finisce_con(nome, ".dat"))
        return tipo_compilato::celle;
    return std::nullopt;
}

std::optional<intervallo_punti> analizza_intervallo(std::string_view t) {
    const std::size_t due_punti = t.find(':');
    if (due_punti == std::string_view::npos)
        return std::nullopt;
    const auto numero = [](std::string_view s, int64_t& v) {
        if (s.empty())
            return false;
        const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
        return r.ec == std::errc() && r.ptr == s.data() + s.size() && v >= 0;
    };
    intervallo_punti i;
    const std::string_view da = t.substr(0, due_punti);
    const std::string_view a = t.substr(due_punti + 1);
    if (!da.empty() && !numero(da, i.da))
        return std::nullopt;
    if (!a.empty()) {
        int64_t v = 0;
        if (!numero(a, v) || v < i.da)
            return std::nullopt;
        i.a = v;
    }
    return i;
}

int comando_dump(const argomenti& a, std::ostream& out, std::ostream& err) {
    if (a.posizionali.empty()) {
        err << "scenario dump: give at least one compiled file\nTry 'scenario dump --help'.\n";
        return uscita::uso;
    }
    std::optional<intervallo_punti> punti;
    if (const std::string* p = a.valore("--points")) {
        punti = analizza_intervallo(*p);
        if (!punti) {
            err << "scenario dump: --points takes FROM:TO, two whole numbers with FROM <= TO (\"" << *p
                << "\" is not)\n";
            return uscita::uso;
        }
    }
    std::optional<tipo_compilato> forzato;
    if (const std::string* k = a.valore("--kind")) {
        forzato = tipo_da_testo(*k);
        if (!forzato) {
            err << "scenario dump: --kind takes line, run or cells (not \"" << *k << "\")\n";
            return uscita::uso;
        }
    }

    int esito = uscita::riuscita;
    scrittore_json j(out);
    j.inizia_lista();
    for (const std::string& nome : a.posizionali) {
        const fs::path percorso(nome);
        file_letto letto = leggi_file(percorso);
        j.inizia_oggetto();
        j.campo("file", mostra_percorso(percorso));
        if (!letto.contenuto) {
            err << "scenario dump: " << letto.errore << "\n";
            j.chiave("error");
            j.inizia_oggetto(true);
            j.chiave("offset");
            j.nullo();
            j.campo("message", letto.errore);
            j.chiudi_oggetto();
            j.chiudi_oggetto();
            esito = uscita::uso;
            continue;
        }
        const std::string_view dati = *letto.contenuto;
        file_decodificato f;
        if (forzato) {
            f.riconosciuto = "option";
            decodifica_come(*forzato, dati, f);
        } else if (auto t = tipo_da_nome(percorso)) {
            decodifica_come(*t, dati, f);
        } else {
            riconosci_contenuto(dati, f);
        }

        j.chiave("kind");
        if (f.tipo)
            j.testo(nome_tipo(*f.tipo));
        else
            j.nullo();
        j.campo("recognised_by", f.riconosciuto);
        j.campo("bytes", static_cast<int64_t>(dati.size()));
        if (!f.esito.ok) {
            err << "scenario dump: " << nome << ": "
                << (f.tipo ? std::string("not a valid ") + nome_tipo(*f.tipo) + " file: " : std::string())
                << f.esito.messaggio << " (at byte offset " << f.esito.offset << ")\n";
            j.chiave("error");
            j.inizia_oggetto(true);
            j.campo("offset", static_cast<int64_t>(f.esito.offset));
            j.campo("message", f.esito.messaggio);
            j.chiudi_oggetto();
            if (esito == uscita::riuscita)
                esito = uscita::errori_trovati;
        } else {
            switch (*f.tipo) {
                case tipo_compilato::celle:
                    scrivi_celle(j, f.celle);
                    break;
                case tipo_compilato::corsa:
                    scrivi_voci(j, f.voci);
                    break;
                case tipo_compilato::linea:
                    scrivi_tracciato(j, f.tracciato, punti);
                    break;
            }
        }
        j.chiudi_oggetto();
    }
    j.chiudi_lista();
    return esito;
}

}  // namespace scenario::strumento
