// The bodies of the fuzz targets, shared by the libFuzzer entry points and by
// the regression test that replays the inputs the fuzzers once crashed on.
//
// Each body runs one input and checks what must hold whatever the input: the
// reader makes progress, only known error numbers are recorded, the arrays keep
// the sizes the state says they have, the text sources are gone afterwards, and
// the compiled files decode back to exactly the state they were made from.
// Out-of-bounds access, leaks and undefined behaviour are the sanitizers' part.
// A body gives an empty string when everything held, else what did not.
#pragma once

#include "compiler/compile_driver.h"
#include "compiler/compile_log.h"
#include "compiler/compiled_files.h"
#include "compiler/error_codes.h"
#include "compiler/field_reader.h"
#include "compiler/read_sources.h"
#include "compiler/source_store.h"
#include "compiler/state.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The targets' own loops over every value of a track plan take the same
// branches at every point and stay within sizes checked before them; the fuzz
// build leaves them out of coverage tracing and the sanitizers, which would
// cost a good part of every run and find nothing. (The compiler's code under
// test keeps its sanitizers.)
#if defined(__clang__)
#define SCENARIO_PLAN_LOOP __attribute__((no_sanitize("coverage", "address", "undefined")))
#else
#define SCENARIO_PLAN_LOOP
#endif

namespace scenario::fuzz {

// The largest track plan the fast targets let the compiler build: routes up to
// 4999 m (the plan has 7000 spare points). Longer ones, the program's own
// 40 km route among them, stop at the route length; the fuzzer reaches the
// rest of such an input by shortening its length. The whole-compile target
// without a limit takes the long routes.
inline constexpr int32_t limite_punti_fuzz = 12000;

// One input of the whole-compile target holds both text sources: the line
// description, then this separator, then the run description. Without the
// separator the run description does not exist.
inline constexpr std::string_view separatore_corsa = "@@corsa@@";

struct due_sorgenti {
    std::string linea;
    std::optional<std::string> corsa;
};

inline due_sorgenti dividi_ingresso(std::string_view dati) {
    const std::size_t dove = dati.find(separatore_corsa);
    if (dove == std::string_view::npos)
        return {std::string(dati), std::nullopt};
    return {std::string(dati.substr(0, dove)), std::string(dati.substr(dove + separatore_corsa.size()))};
}

inline std::string unisci_sorgenti(std::string_view linea, std::string_view corsa) {
    std::string dati(linea);
    dati += separatore_corsa;
    dati += corsa;
    return dati;
}

// Every error number the compiler may record: none, or a known error that is
// not a stamp error (those end the program instead of being recorded).
inline bool errore_noto(int32_t codice) {
    if (codice == 0)
        return true;
    const std::optional<error_code> c = error_from_number(codice);
    return c && error_severity_of(*c) != error_severity::fatal;
}

// The field records: in reading order within each source, on real columns,
// and every place in the log points at a keyword record.
inline std::string controlla_campi(const compile_log& log) {
    const field_record* prima = nullptr;
    for (const field_record& f : log.fields) {
        if (f.line < 1 || f.first_column < 1 || f.last_column < f.first_column - 1)
            return "a field record without a line or with columns out of order";
        if (f.raw.size() != std::size_t(f.last_column - f.first_column + 1))
            return "a field record whose columns do not span its text";
        if (prima != nullptr && prima->source == f.source &&
            (f.offset <= prima->offset || f.line < prima->line))
            return "field records out of reading order";
        if ((f.width == field_width::text) != (f.reading == field_reading::text))
            return "a text field read as a number, or a number as text";
        prima = &f;
    }
    const auto punta_a_parola = [&](const source_place& p) {
        return !p.known || p.keyword_field < 0 ||
               (std::size_t(p.keyword_field) < log.fields.size() &&
                log.fields[std::size_t(p.keyword_field)].role == field_role::keyword &&
                log.fields[std::size_t(p.keyword_field)].line == p.line);
    };
    for (const logged_error& e : log.errors)
        if (!punta_a_parola(e.place))
            return "an error's line does not point at its keyword field";
    for (const source_place& p : log.cell_origins)
        if (!punta_a_parola(p))
            return "a cell's line does not point at its keyword field";
    return {};
}

// The warnings: each points at field records that exist and at a real line,
// and no code keeps more than its share or more than were found.
inline std::string controlla_avvisi(const compile_log& log) {
    std::array<uint32_t, warning_code_count> tenuti{};
    for (const logged_warning& w : log.warnings) {
        const auto codice = std::size_t(w.code);
        if (codice >= warning_code_count)
            return "a warning with an unknown code";
        ++tenuti[codice];
        if (w.field >= 0 && (std::size_t(w.field) >= log.fields.size() || w.count < 0 ||
                             std::size_t(w.field) + std::size_t(w.count) > log.fields.size()))
            return "a warning that points past the field records";
        if (w.place.known && w.place.line < 1)
            return "a warning on a line before the first";
        if (w.first_column > 0 && w.last_column < w.first_column - 1)
            return "a warning whose columns are out of order";
    }
    for (std::size_t c = 0; c < warning_code_count; ++c)
        if (tenuti[c] > warnings_kept_per_code ||
            tenuti[c] != std::min(log.warnings_found[c], warnings_kept_per_code))
            return "warnings kept and warnings found disagree";
    return {};
}

// Every input builds a plan of at least 7001 points (the spare route), a few
// hundred kilobytes. Allocated fresh, AddressSanitizer maps it anew and its
// pages fault in, a quarter of a run; so each compile borrows the storage an
// earlier input left and gives it back when it ends (the plan still starts
// with every value empty).
class plan_storage {
public:
    plan_storage(stato_scenario& s, std::vector<valore_tracciato>& spare) : s_(s), spare_(spare) {
        s_.tracciato.valori = std::move(spare_);
        s_.tracciato.valori.clear();
    }
    ~plan_storage() { spare_ = std::move(s_.tracciato.valori); }
    plan_storage(const plan_storage&) = delete;
    plan_storage& operator=(const plan_storage&) = delete;

private:
    stato_scenario& s_;
    std::vector<valore_tracciato>& spare_;
};

// ---- field reader -----------------------------------------------------------

// The first byte picks the kind of each read in turn (two bits per read, over
// and over); the rest is the source. Reads go on until the end or the first
// read failure.
inline std::string prova_lettore_campi(const uint8_t* dati, std::size_t n) {
    if (n == 0)
        return {};
    const uint8_t scelte = dati[0];
    const std::string_view testo(reinterpret_cast<const char*>(dati + 1), n - 1);
    std::size_t fine_righe = 0;
    for (std::size_t i = 0; i < testo.size(); ++i)
        if (testo[i] == '\n' || (testo[i] == '\r' && (i + 1 == testo.size() || testo[i + 1] != '\n')))
            ++fine_righe;

    compile_log log;
    lettore_campi r(testo, &log.fields);
    std::size_t letture = 0;
    int32_t riga_prima = 0;
    while (!r.fine()) {
        // Every read that starts before the end consumes at least one byte.
        if (++letture > testo.size())
            return "more reads than bytes: a read consumed nothing";
        try {
            switch ((scelte >> (2 * (letture % 4))) & 3) {
                case 0:
                    (void)r.leggi_testo();
                    break;
                case 1:
                    (void)r.leggi_intero();
                    break;
                case 2:
                    (void)r.leggi_intero16();
                    break;
                default:
                    (void)r.leggi_byte();
                    break;
            }
        } catch (const errore_lettura&) {
            break;
        }
        if (r.riga() < riga_prima || r.riga() < 1 || std::size_t(r.riga()) > fine_righe + 1)
            return "line number out of order or beyond the number of lines";
        riga_prima = r.riga();
    }
    // Reading at the end is always a read failure.
    if (r.fine()) {
        try {
            (void)r.leggi_testo();
            return "a read at the end of the source did not fail";
        } catch (const errore_lettura&) {
        }
    }
    // Every field read is recorded once, with the very bytes it was read from.
    if (log.fields.size() > letture)
        return "more field records than reads";
    for (const field_record& f : log.fields)
        if (f.offset + f.raw.size() > testo.size() || testo.substr(f.offset, f.raw.size()) != f.raw)
            return "a field record whose text is not the source's at its offset";
    return controlla_campi(log);
}

// ---- checks on the state after reading -------------------------------------

inline std::string controlla_stato(const stato_scenario& s, const compile_log& log) {
    if (!errore_noto(s.codice_errore))
        return "unknown error number " + std::to_string(s.codice_errore);
    // The log ends with the recorded error; a stamp error after it is only
    // logged (the program reports it by ending).
    if (s.codice_errore != 0) {
        auto e = log.errors.rbegin();
        while (e != log.errors.rend() && error_severity_of(e->code) == error_severity::fatal)
            ++e;
        if (e == log.errors.rend() || error_number(e->code) != s.codice_errore)
            return "the error record and the error log disagree";
    }
    if (s.celle_esistono()) {
        if (s.n_celle < 0 || s.celle.size() != std::size_t(s.n_celle) + 1)
            return "celle holds " + std::to_string(s.celle.size()) + " cells, n_celle is " +
                   std::to_string(s.n_celle);
        // Diagnostics name the line behind every item in a cell.
        if (log.cell_origins.size() != s.celle.size())
            return "the cell origins are not sized with celle";
        for (std::size_t i = 0; i < s.celle.size(); ++i)
            if (s.celle[i].tipo != tipo_cella::libera && !log.cell_origins[i].known)
                return "cell " + std::to_string(i) + " holds an item without the line that placed it";
    }
    if (s.tracciato.esiste()) {
        if (s.tracciato.ultimo_punto != s.lunghezza_estesa)
            return "track plan and route length disagree";
        if (s.tracciato.valori.size() != 2 * s.tracciato.punti())
            return "track plan holds the wrong number of values";
    }
    for (const voce& v : s.voci)
        if (v.testo.size() > 32767)
            return "a text longer than the run file can hold";
    if (auto guasto = controlla_avvisi(log); !guasto.empty())
        return guasto;
    return controlla_campi(log);
}

// ---- line description alone -------------------------------------------------

// Read twice: with the track plan built (as the program does) and without it,
// when curve lines are not recognised and their values become keyword fields.
// Without a run description the run phase, when it runs, fails to read.
// A reading stopped by the plan limit made no route and left no error.
inline std::string controlla_limite(const stato_scenario& s, const compile_log& log, reading_end fine) {
    if ((fine == reading_end::plan_limit_reached) != log.plan_limit_reached)
        return "the reading's end and the log disagree on the plan limit";
    if (!log.plan_limit_reached)
        return {};
    if (s.celle_esistono() || s.tracciato.esiste())
        return "a route was made beyond the plan limit";
    return {};
}

// The line description alone, with the fast targets' plan limit.
inline std::string prova_descrizione_linea(const uint8_t* dati, std::size_t n) {
    static std::vector<valore_tracciato> spare;
    for (int32_t compila_linea : {1, 0}) {
        stato_scenario s;
        const plan_storage borrowed(s, spare);
        s.nome_scenario = "Calvena_Roccalba";
        s.numero_treno = "4127";
        s.compila_linea = compila_linea;
        sorgenti_in_memoria sorgenti(std::string(reinterpret_cast<const char*>(dati), n), std::nullopt);
        compile_log log;
        compile_options opzioni;
        opzioni.plan_point_limit = limite_punti_fuzz;
        const reading_end fine = memorizza_dati(s, sorgenti, &log, opzioni);
        if (auto guasto = controlla_stato(s, log); !guasto.empty())
            return guasto;
        if (auto guasto = controlla_limite(s, log, fine); !guasto.empty())
            return guasto;
        if (compila_linea == 0 && log.plan_limit_reached)
            return "the plan limit stopped a reading that builds no plan";
        if (s.tracciato.esiste() && int64_t(s.tracciato.punti()) > limite_punti_fuzz)
            return "a track plan larger than the limit was built";
        if (compila_linea == 0 && s.tracciato.esiste())
            return "a track plan was built with compila_linea 0";
        if (sorgenti.esiste(sorgente_testo::linea))
            return "the line description was not deleted";
    }
    return {};
}

// ---- whole compile ----------------------------------------------------------

inline bool celle_uguali(const cella& a, const cella& b) {
    return a.tipo == b.tipo && a.dato1 == b.dato1 && a.dato2 == b.dato2 && a.dato3 == b.dato3 &&
           a.dato4 == b.dato4 && a.dato5 == b.dato5 && a.dato6 == b.dato6 && a.galleria == b.galleria &&
           a.velocita == b.velocita && a.pendenza == b.pendenza && a.aderenza == b.aderenza;
}

inline bool voci_uguali(const voce& a, const voce& b) {
    return a.tipo == b.tipo && a.valore1 == b.valore1 && a.valore2 == b.valore2 && a.valore3 == b.valore3 &&
           a.byte1 == b.byte1 && a.testo == b.testo && a.intero1 == b.intero1 && a.intero2 == b.intero2 &&
           a.intero3 == b.intero3 && a.intero4 == b.intero4 && a.intero5 == b.intero5 && a.byte2 == b.byte2 &&
           a.byte3 == b.byte3 && a.byte4 == b.byte4 && a.byte5 == b.byte5 && a.valore4 == b.valore4;
}

SCENARIO_PLAN_LOOP inline bool valori_uguali(const valore_tracciato& a, const valore_tracciato& b) {
    if (a.tipo != b.tipo)
        return false;
    if (a.tipo == valore_tracciato::etichetta::intero)
        return a.intero == b.intero;
    if (a.tipo == valore_tracciato::etichetta::reale)
        return std::memcmp(&a.reale, &b.reale, sizeof a.reale) == 0;  // the same bits, NaNs included
    return true;
}

// Bytes of the line file for a plan: a 2-byte tag per value, plus 2 for an
// integer and 8 for a double.
SCENARIO_PLAN_LOOP inline std::size_t byte_tracciato(const tracciato_linea& t) {
    std::size_t n = 0;
    const valore_tracciato* v = t.valori.data();
    // The size once: an out-of-line size() may be a copy with coverage tracing.
    const std::size_t valori = t.valori.size();
    for (std::size_t i = 0; i < valori; ++i)
        n += v[i].tipo == valore_tracciato::etichetta::intero  ? 4
             : v[i].tipo == valore_tracciato::etichetta::reale ? 10
                                                               : 2;
    return n;
}

// The index of the first value where two plans differ, or the smaller size
// when none does within it. (Walks the storage directly: an out-of-line
// vector index operator may be a copy compiled with coverage tracing.)
SCENARIO_PLAN_LOOP inline std::size_t primo_valore_diverso(const tracciato_linea& a,
                                                           const tracciato_linea& b) {
    const valore_tracciato* va = a.valori.data();
    const valore_tracciato* vb = b.valori.data();
    const std::size_t n = std::min(a.valori.size(), b.valori.size());
    std::size_t i = 0;
    while (i < n && valori_uguali(va[i], vb[i]))
        ++i;
    return i;
}

// The three compiled files decode back to the state they were encoded from.
// Decoding a long track plan is slow under the sanitizers; with
// `piano_intero` false the line file is only checked for its size.
inline std::string controlla_file_compilati(const stato_scenario& s, bool piano_intero = true) {
    const std::string celle = codifica_celle(s.celle);
    if (celle.size() != 15 * s.celle.size())
        return "cell file of the wrong size";
    std::vector<cella> celle_lette;
    if (!decodifica_celle(celle, celle_lette).ok() || celle_lette.size() != s.celle.size())
        return "cell file does not decode";
    for (std::size_t i = 0; i < celle_lette.size(); ++i)
        if (!celle_uguali(celle_lette[i], s.celle[i]))
            return "cell " + std::to_string(i) + " changed in the cell file";

    std::array<voce, numero_voci> voci_lette{};
    if (auto esito = decodifica_voci(codifica_voci(s.voci), voci_lette); !esito.ok())
        return "run file does not decode: " + esito.error().messaggio;
    for (std::size_t i = 0; i < voci_lette.size(); ++i)
        if (!voci_uguali(voci_lette[i], s.voci[i]))
            return "record " + std::to_string(i) + " changed in the run file";

    if (s.compila_linea != 0 && s.tracciato.esiste()) {
        static std::string piano;  // a line file's worth of storage, kept between inputs
        codifica_tracciato(s.tracciato, piano);
        if (piano.size() != byte_tracciato(s.tracciato))
            return "line file of the wrong size";
        if (!piano_intero)
            return {};
        tracciato_linea letto;
        if (auto esito = decodifica_tracciato(piano, letto); !esito.ok())
            return "line file does not decode: " + esito.error().messaggio;
        if (letto.valori.size() != s.tracciato.valori.size())
            return "line file holds the wrong number of values";
        if (const std::size_t i = primo_valore_diverso(letto, s.tracciato); i < letto.valori.size())
            return "track plan value " + std::to_string(i) + " changed in the line file";
    }
    return {};
}

// The errors that end the line phase without reading the run description,
// which then stays where it is.
inline bool fase_corsa_letta(const compile_log& log) {
    for (const logged_error& e : log.errors)
        switch (e.code) {
            case error_code::route_too_long:
            case error_code::first_repetition_not_on_50:
            case error_code::second_repetition_not_on_50:
            case error_code::repetition_codes_unnamed:
            case error_code::tunnel_board_cell_taken:
            case error_code::speed_board_cell_taken:
            case error_code::line_description_missing:
            case error_code::general_section_missing:
            case error_code::curve_invalid:
                return false;
            default:
                break;
        }
    return true;
}

// The log only watches: without it the compile leaves the same state. That
// compile keeps no plan points, as the program's: its line file, made from
// the plan's runs, must be byte for byte the one of the points. `s` and
// `arresto` are the compile of the same input with the log and the points.
inline std::string compare_without_log(const uint8_t* dati, std::size_t n, const compile_options& opzioni,
                                       const stato_scenario& s, const std::optional<error_code>& arresto) {
    static std::vector<valore_tracciato> spare_without_log;
    due_sorgenti d = dividi_ingresso(std::string_view(reinterpret_cast<const char*>(dati), n));
    stato_scenario senza;
    const plan_storage borrowed_without_log(senza, spare_without_log);
    senza.nome_scenario = s.nome_scenario;
    senza.numero_treno = s.numero_treno;
    sorgenti_in_memoria altre(std::move(d.linea), std::move(d.corsa));
    compile_options senza_campi = opzioni;
    senza_campi.record_fields = false;
    senza_campi.keep_plan_points = false;
    if (compila_scenario(senza, 1, altre, senza_campi, nullptr) != arresto ||
        senza.codice_errore != s.codice_errore || senza.posizione_errore != s.posizione_errore ||
        codifica_celle(senza.celle) != codifica_celle(s.celle) ||
        codifica_voci(senza.voci) != codifica_voci(s.voci) ||
        senza.tracciato.ultimo_punto != s.tracciato.ultimo_punto || !senza.tracciato.valori.empty())
        return "the compile without a log differs from the compile with one";
    static std::string dai_punti, dai_tratti;  // line files' worth of storage, kept between inputs
    codifica_tracciato(s.tracciato, dai_punti);
    codifica_tracciato(senza.tracciato, dai_tratti);
    if (dai_tratti != dai_punti)
        return "the line file made from the plan's runs differs from the one made from its points";
    return {};
}

// What the whole-compile bodies check; the cheap checks always, the others
// when asked for.
struct compile_checks {
    bool without_log = true;  // the compile without a log and points agrees (compare_without_log)
    bool files = true;        // the compiled files decode back (controlla_file_compilati)
    bool whole_plan = true;   // ... the line file whole, not only its size
};

// The whole compile with the given plan limit (none: as the program compiles).
inline std::string prova_compilazione_con(const uint8_t* dati, std::size_t n, std::optional<int32_t> limite,
                                          compile_checks checks) {
    due_sorgenti d = dividi_ingresso(std::string_view(reinterpret_cast<const char*>(dati), n));
    static std::vector<valore_tracciato> spare;
    stato_scenario s;
    const plan_storage borrowed(s, spare);
    s.nome_scenario = "Calvena_Roccalba";
    s.numero_treno = "4127";
    sorgenti_in_memoria sorgenti(std::move(d.linea), std::move(d.corsa));
    compile_log log;
    compile_options opzioni;
    opzioni.plan_point_limit = limite;
    const std::optional<error_code> arresto = compila_scenario(s, 1, sorgenti, opzioni, &log);
    if (auto guasto = controlla_stato(s, log); !guasto.empty())
        return guasto;
    if (log.plan_limit_reached && (!limite || s.celle_esistono() || s.tracciato.esiste()))
        return "the plan limit was reported without a limit, or a route was made beyond it";
    if (limite && s.tracciato.esiste() && int64_t(s.tracciato.punti()) > *limite)
        return "a track plan larger than the limit was built";
    if (sorgenti.esiste(sorgente_testo::linea))
        return "the line description was not deleted";
    if (!log.plan_limit_reached && fase_corsa_letta(log) && sorgenti.esiste(sorgente_testo::corsa))
        return "the run description was not deleted";
    if (checks.without_log)
        if (auto guasto = compare_without_log(dati, n, opzioni, s, arresto); !guasto.empty())
            return guasto;
    if (arresto) {
        if (error_severity_of(*arresto) != error_severity::fatal)
            return "unknown stamp error " + std::to_string(error_number(*arresto));
        return {};
    }
    if (!checks.files)
        return {};
    return controlla_file_compilati(s, checks.whole_plan);
}

// The fast target: plans up to limite_punti_fuzz points, the line file
// checked for its size. The compile without a log is the agreement target's.
inline std::string prova_compilazione(const uint8_t* dati, std::size_t n) {
    return prova_compilazione_con(dati, n, limite_punti_fuzz, {.without_log = false, .whole_plan = false});
}

// The agreement target: the same inputs and limit, each compiled with the
// log and the plan's points and again without them, as the program compiles;
// the compiled files are the fast target's.
inline std::string prova_compilazione_accordo(const uint8_t* dati, std::size_t n) {
    return prova_compilazione_con(dati, n, limite_punti_fuzz, {.files = false, .whole_plan = false});
}

// The slow target: any route, as the program compiles it, every check, the
// line file decoded back whole.
inline std::string prova_compilazione_lunga(const uint8_t* dati, std::size_t n) {
    return prova_compilazione_con(dati, n, std::nullopt, {});
}

}  // namespace scenario::fuzz
