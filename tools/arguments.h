// Parsing a command's arguments: options with a value (--out DIR or
// --out=DIR), switches (--json) and positional arguments; "--" ends options.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace scenario::strumento {

struct opzioni_ammesse {
    std::set<std::string> con_valore;    // e.g. "--out"
    std::set<std::string> interruttori;  // e.g. "--json"; "--help" and "-h" are always allowed
};

struct argomenti {
    std::vector<std::string> posizionali;
    std::map<std::string, std::string> valori;
    std::set<std::string> interruttori;
    bool aiuto = false;

    bool ha(const std::string& interruttore) const { return interruttori.count(interruttore) != 0; }
    const std::string* valore(const std::string& opzione) const {
        auto it = valori.find(opzione);
        return it == valori.end() ? nullptr : &it->second;
    }
};

// Gives the parsed arguments, or nothing with `errore` saying what is wrong.
std::optional<argomenti> analizza_argomenti(const std::vector<std::string>& parole,
                                            const opzioni_ammesse& ammesse, std::string& errore);

}  // namespace scenario::strumento
