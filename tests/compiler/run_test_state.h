// A scenario state as the line phase leaves it for a 40 km route (941 cells),
// and a run description fed from memory, for the run phase tests.
#pragma once

#include "compiler/compile_log.h"
#include "compiler/read_sources.h"
#include "compiler/source_store.h"
#include "compiler/state.h"

#include <optional>
#include <string>

namespace scenario::prova {

inline stato_scenario stato_percorso(int32_t n_celle = 940) {
    stato_scenario s;
    s.nome_scenario = "Calvena_Roccalba";
    s.numero_treno = "4127";
    s.n_celle = n_celle;
    s.lunghezza_estesa = n_celle * 50;
    s.celle.assign(static_cast<std::size_t>(n_celle) + 1, cella{});
    return s;
}

// Names parameterised cases after their `nome` field.
struct nome_caso {
    template <class T>
    std::string operator()(const T& caso) const {
        return caso.param.nome;
    }
};

inline cella& cella_n(stato_scenario& s, int32_t i) {
    return s.celle.at(static_cast<std::size_t>(i));
}
inline voce& voce_n(stato_scenario& s, int32_t i) {
    return s.voci.at(static_cast<std::size_t>(i));
}

// Runs the run phase over `testo`; true when it deleted the run description.
// With `log`, what the phase notes goes there.
inline bool leggi_corsa(stato_scenario& s, std::string testo, int32_t slot_cartelli = prima_voce_cartelli,
                        compile_log* log = nullptr) {
    sorgenti_in_memoria sorgenti(std::nullopt, std::move(testo));
    log_at at{log, {}};
    leggi_descrizione_corsa(s, sorgenti, slot_cartelli, at, true);
    return !sorgenti.esiste(sorgente_testo::corsa);
}

}  // namespace scenario::prova
