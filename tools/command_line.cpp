#include "tools/command_line.h"

#include "tools/arguments.h"
#include "tools/compile_command.h"
#include "tools/dump_command.h"
#include "tools/exit_status.h"
#include "tools/plan_command.h"
#include "tools/sources_command.h"
#include "tools/view/view_command.h"

#include <exception>
#include <new>

namespace scenario::strumento {

namespace {

const char* const aiuto_generale =
    "Usage: scenario COMMAND [OPTIONS]\n"
    "\n"
    "A tool for scenario authors: compiles a line description and a run\n"
    "description with the program's own compiler, explains every error in words\n"
    "with its file and line, and shows what the compiled files hold.\n"
    "\n"
    "Commands:\n"
    "  sources DIR        write the program's five text files into DIR\n"
    "  compile ...        compile two text sources into the three compiled files\n"
    "  dump FILE...       decode compiled files into JSON\n"
    "  plan ...           draw a compiled scenario as SVG (plan and gradient profile)\n"
    "  view ...           show two text sources on a local web page that follows them\n"
    "  help [COMMAND]     show this text, or the help of COMMAND\n"
    "\n"
    "'scenario COMMAND --help' describes each command.\n"
    "\n"
    "Exit status: 0 success, 1 the input holds errors (a compile error, an invalid\n"
    "compiled file), 2 usage error, unreadable input or unwritable output.\n";

struct comando {
    const char* nome;
    const opzioni_ammesse* opzioni;
    const char* const* aiuto;
    int (*esegui)(const argomenti&, std::ostream&, std::ostream&);
};

const comando comandi[] = {
    {"sources", &opzioni_sources, &aiuto_sources, &comando_sources},
    {"compile", &opzioni_compile, &aiuto_compile, &comando_compile},
    {"dump", &opzioni_dump, &aiuto_dump, &comando_dump},
    {"plan", &opzioni_plan, &aiuto_plan, &comando_plan},
    {"view", &view::view_options, &view::view_help, &view::view_command},
};

const comando* trova(const std::string& nome) {
    for (const comando& c : comandi)
        if (nome == c.nome)
            return &c;
    return nullptr;
}

int esegui_comando(const comando& c, const std::vector<std::string>& resto, std::ostream& out,
                   std::ostream& err) {
    std::string errore;
    const std::optional<argomenti> a = analizza_argomenti(resto, *c.opzioni, errore);
    if (!a) {
        err << "scenario " << c.nome << ": " << errore << "\nTry 'scenario " << c.nome << " --help'.\n";
        return uscita::uso;
    }
    if (a->aiuto) {
        out << *c.aiuto;
        return uscita::riuscita;
    }
    return c.esegui(*a, out, err);
}

}  // namespace

int esegui(const std::vector<std::string>& parole, std::ostream& out, std::ostream& err) {
    if (parole.empty()) {
        err << aiuto_generale;
        return uscita::uso;
    }
    const std::string& primo = parole[0];
    if (primo == "--help" || primo == "-h" || primo == "help") {
        if (primo == "help" && parole.size() > 1) {
            if (const comando* c = trova(parole[1])) {
                out << *c->aiuto;
                return uscita::riuscita;
            }
            err << "scenario: unknown command '" << parole[1] << "'\nTry 'scenario --help'.\n";
            return uscita::uso;
        }
        out << aiuto_generale;
        return uscita::riuscita;
    }
    const comando* c = trova(primo);
    if (!c) {
        err << "scenario: unknown command '" << primo << "'\nTry 'scenario --help'.\n";
        return uscita::uso;
    }
    try {
        return esegui_comando(*c, std::vector<std::string>(parole.begin() + 1, parole.end()), out, err);
    } catch (const std::bad_alloc&) {
        err << "scenario " << c->nome << ": out of memory\n";
    } catch (const std::exception& e) {
        err << "scenario " << c->nome << ": " << e.what() << "\n";
    }
    return uscita::uso;
}

}  // namespace scenario::strumento
