#include "tools/arguments.h"

namespace scenario::strumento {

std::optional<argomenti> analizza_argomenti(const std::vector<std::string>& parole,
                                            const opzioni_ammesse& ammesse, std::string& errore) {
    argomenti a;
    bool solo_posizionali = false;
    for (std::size_t i = 0; i < parole.size(); ++i) {
        const std::string& p = parole[i];
        if (solo_posizionali || p.size() < 2 || p[0] != '-') {
            a.posizionali.push_back(p);
            continue;
        }
        if (p == "--") {
            solo_posizionali = true;
            continue;
        }
        if (p == "--help" || p == "-h") {
            a.aiuto = true;
            continue;
        }
        const std::size_t uguale = p.find('=');
        const std::string nome = p.substr(0, uguale);
        if (ammesse.con_valore.count(nome)) {
            std::string v;
            if (uguale != std::string::npos) {
                v = p.substr(uguale + 1);
            } else if (i + 1 < parole.size()) {
                v = parole[++i];
            } else {
                errore = "option " + nome + " needs a value";
                return std::nullopt;
            }
            if (a.valori.count(nome)) {
                errore = "option " + nome + " given twice";
                return std::nullopt;
            }
            a.valori.emplace(nome, std::move(v));
        } else if (ammesse.interruttori.count(nome)) {
            if (uguale != std::string::npos) {
                errore = "option " + nome + " takes no value";
                return std::nullopt;
            }
            a.interruttori.insert(nome);
        } else {
            errore = "unknown option " + nome;
            return std::nullopt;
        }
    }
    return a;
}

}  // namespace scenario::strumento
