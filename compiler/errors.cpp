#include "compiler/errors.h"

#include "compiler/provenance.h"

namespace scenario {

namespace {
logged_error* note(const stato_scenario& s, compile_log* log, error_code c, bool has_position,
                   const source_place& place) {
    if (log == nullptr)
        return nullptr;
    logged_error e;
    e.code = c;
    e.position = s.posizione_errore;
    e.has_position = has_position;
    e.place = place;
    log->errors.push_back(e);
    return &log->errors.back();
}

bool same_line(const source_place& a, const source_place& b) {
    return a.known && b.known && a.source == b.source && a.line == b.line;
}
}  // namespace

void registra_errore(stato_scenario& s, const log_at& at, error_code c) {
    s.codice_errore = error_number(c);
    note(s, at.log, c, false, at.place);
}

void registra_errore(stato_scenario& s, const log_at& at, error_code c, int32_t posizione) {
    s.codice_errore = error_number(c);
    s.posizione_errore = posizione;
    note(s, at.log, c, true, at.place);
}

void registra_errore_cella(stato_scenario& s, const log_at& at, error_code c,
                           std::optional<int32_t> posizione, int32_t cella) {
    if (posizione)
        registra_errore(s, at, c, *posizione);
    else
        registra_errore(s, at, c);
    if (at.log != nullptr)
        at.log->errors.back().cell = cella;
}

void registra_errore_finitura(stato_scenario& s, compile_log* log, error_code c, int32_t posizione,
                              int32_t cella) {
    registra_errore(s, log_at{log, cell_origin(log, cella)}, c, posizione);
    if (log != nullptr)
        log->errors.back().cell = cella;
}

void annota_errore_timbro(const stato_scenario& s, compile_log* log, error_code c, int32_t cella) {
    logged_error* e = note(s, log, c, false, {});
    if (e != nullptr && cella >= 0 && static_cast<std::size_t>(cella) < s.celle.size()) {
        e->place = cell_origin(log, cella);
        e->cell = cella;
    }
}

void imposta_posizione_errore(stato_scenario& s, const log_at& at, int32_t posizione) {
    s.posizione_errore = posizione;
    if (at.log == nullptr)
        return;
    std::vector<logged_error>& errors = at.log->errors;
    if (!errors.empty() && same_line(errors.back().place, at.place)) {
        errors.back().position = posizione;
        errors.back().has_position = true;
        return;
    }
    if (s.codice_errore != 0) {
        if (const auto c = error_from_number(s.codice_errore))
            note(s, at.log, *c, true, at.place)->inherited_stop = true;
    }
}

std::string messaggio_errore(const logged_error& e) {
    std::string text = "error " + std::to_string(error_number(e.code)) + ": " + error_description(e.code);
    if (e.has_position)
        text += " (at " + std::to_string(e.position) + " m)";
    if (e.place.known) {
        text += e.place.source == sorgente_testo::linea ? " [line description" : " [run description";
        text += ", line " + std::to_string(e.place.line) + "]";
    }
    if (e.inherited_stop)
        text += ": the run description stopped at this line for the error before";
    if (!e.detail.empty())
        text += ": " + e.detail;
    return text;
}

}  // namespace scenario
