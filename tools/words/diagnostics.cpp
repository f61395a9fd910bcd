#include "tools/report/diagnostics.h"

#include "compiler/provenance.h"
#include "compiler/route_facts.h"
#include "compiler/run_cells.h"
#include "compiler/text_case.h"
#include "compiler/track_plan.h"

#include <algorithm>
#include <string>

namespace scenario::tool {

namespace {

std::string metri(int64_t p) {
    return std::to_string(p) + " m";
}

// Cells c..ultima as the stretch of route they cover.
std::string tratto(int64_t c, int64_t ultima) {
    return std::to_string(c * 50) + " to " + std::to_string(ultima * 50 + 50) + " m";
}
std::string tratto(int64_t c) {
    return tratto(c, c);
}

// What stands in a cell, as a sentence names it ("a signal").
const char* cosa_sta(uint8_t tipo) {
    const std::optional<route::cell_kind_words> k = route::cell_kind(tipo);
    return k ? k->phrase : "an item";
}

// The elements whose first number is a position along the route.
bool ha_posizione(line_item e) {
    using el = line_item;
    switch (e) {
        case el::gradient:
        case el::curve:
        case el::tunnel:
        case el::speed_board:
        case el::tunnel_board:
        case el::speed_limit:
        case el::adhesion:
        case el::signal:
        case el::slowdown:
        case el::abbattimento:
        case el::station:
            return true;
        default:
            return false;
    }
}

const char* nome_sorgente(sorgente_testo s) {
    return s == sorgente_testo::linea ? "the line description" : "the run description";
}

class compositore {
public:
    compositore(const stato_scenario& s, const compile_log& log) : s_(s), log_(log) {}

    diagnosis componi(const logged_error& e, std::size_t indice) {
        e_ = &e;
        indice_ = indice;
        d_ = {};
        d_.code = e.code;
        d_.number = error_number(e.code);
        d_.severity = error_severity_of(e.code);
        if (e.has_position)
            d_.position = e.position;
        if (e.place.known) {
            d_.source = e.place.source;
            d_.line = e.place.line;
            if (const field_record* k = campo_letto(e.place, 0))
                d_.column = k->first_column;
        }
        d_.message = testo();
        return d_;
    }

private:
    // ---- quoting the line behind an error or an item ----

    // Field `i` of the line at `l` as the compiler read it: 0 is the keyword,
    // 1 on its values in reading order. None when the fields were not
    // recorded or the line has no such value.
    const field_record* campo_letto(const source_place& l, std::size_t i) const {
        if (!l.known)
            return nullptr;
        const std::span<const field_record> line = fields_of_line(log_, l.keyword_field);
        return i < line.size() ? &line[i] : nullptr;
    }
    std::string campo(const source_place& l, std::size_t i) const {
        const field_record* f = campo_letto(l, i);
        if (f == nullptr)
            return {};
        return f->width == field_width::text ? f->text : f->raw;
    }
    // A number field that held a number.
    std::optional<int32_t> numero(const source_place& l, std::size_t i) const {
        const field_record* f = campo_letto(l, i);
        if (f == nullptr || f->reading != field_reading::number)
            return std::nullopt;
        return f->value;
    }

    // "signal at 3650 m", "station CORBEZZI at 17550 m": the element a line
    // describes, at `posizione` or else at the position written on it.
    std::string descrivi(const source_place& l, std::optional<int64_t> posizione = std::nullopt) const {
        std::string t = element_name(l.item);
        if (l.item == line_item::station) {
            // The station name is the 17th value.
            const field_record* nome = campo_letto(l, 17);
            if (nome != nullptr && nome->width == field_width::text && !nome->text.empty())
                t += " " + nome->text;
        }
        if (!ha_posizione(l.item))
            return t;
        if (!posizione)
            posizione = numero(l, 1);
        if (posizione)
            t += " at " + metri(*posizione);
        return t;
    }

    // The element of the line behind the error being composed; `predefinito`
    // when the compile did not say what the line describes. A reader error
    // with a position was recorded at the line's own position.
    std::string chi(const char* predefinito) const {
        const source_place& l = e_->place;
        if (!l.known || l.item == line_item::none)
            return predefinito;
        const bool posizione_propria = e_->has_position && d_.severity == error_severity::reader_stop;
        return descrivi(l, posizione_propria ? std::optional<int64_t>(e_->position) : std::nullopt);
    }

    // A second place of the error being composed: the line at `l`, pointed at
    // its keyword field when the fields were recorded.
    void add_related(const source_place& l, std::string message) {
        if (!l.known || (d_.source == l.source && d_.line == l.line))
            return;
        const field_record* keyword = campo_letto(l, 0);
        d_.related.push_back(
            {l.source, l.line, keyword != nullptr ? keyword->first_column : 0, std::move(message)});
    }

    // "already taken by a signal (the signal at 3600 m on line 40)": what
    // stands in cell c, and the line that put it there.
    std::string occupata(int64_t c) {
        if (c < 0 || c >= static_cast<int64_t>(s_.celle.size()))
            return "outside the route";
        std::string t =
            std::string("already taken by ") + cosa_sta(s_.celle[static_cast<std::size_t>(c)].tipo);
        const source_place origine = cell_origin(&log_, c);
        if (!origine.known)
            return t;
        add_related(origine, "the cell is taken by the " + descrivi(origine) + " placed here");
        t += " (the " + descrivi(origine) + " on line " + std::to_string(origine.line);
        if (!e_->place.known || origine.source != e_->place.source)
            t += std::string(" of ") + nome_sorgente(origine.source);
        return t + ")";
    }

    // "<who>: its cell (3700 to 3750 m) is already taken by ...": the cell the
    // error concerns, as the compile recorded it, and what stands there.
    std::string presa(const char* predefinito, const char* quale) {
        const int64_t c = e_->cell.value_or(-1);
        return chi(predefinito) + ": " + quale + " (" + tratto(c) + ") is " + occupata(c);
    }

    // ---- the messages ----

    // The message of the error being composed: each family of errors has
    // its own words, in the order of the error numbers.
    std::string testo() {
        if (std::optional<std::string> t = general_part_message())
            return *t;
        if (std::optional<std::string> t = taken_cell_message())
            return *t;
        if (std::optional<std::string> t = station_message())
            return *t;
        if (std::optional<std::string> t = sweep_message())
            return *t;
        return other_message();
    }

    // The line description's general part: route length, progressives,
    // signal repetition.
    std::optional<std::string> general_part_message() const {
        const voce& identita = s_.voci[voce_identita_treno];
        switch (e_->code) {
            case error_code::route_too_long:
                return "route length " + metri(route::length_read(s_.voci)) +
                       ": longer than the 1000000 m a route may have";
            case error_code::progressive_not_on_50:
                return progressiva();
            case error_code::first_repetition_not_on_50:
                return "signal repetition: the first distance, " + metri(identita.valore1) +
                       ", is not a multiple of 50";
            case error_code::second_repetition_not_on_50:
                return "signal repetition: the second distance, " + metri(identita.valore2) +
                       ", is not a multiple of 50";
            case error_code::repetition_codes_unnamed:
                return "signal repetition \"" + campo(e_->place, 0) +
                       "\": the keyword names neither 4 nor 9 codes";
            default:
                return std::nullopt;
        }
    }

    // An item whose cell another item already holds.
    std::optional<std::string> taken_cell_message() {
        switch (e_->code) {
            case error_code::tunnel_board_cell_taken:
            case error_code::speed_board_cell_taken:
            case error_code::signal_cell_taken:
                return presa("board", "its cell");
            case error_code::abbattimento_cell_taken:
                return presa("abbattimento point", "its cell");
            case error_code::slowdown_advance_cell_taken:
                return presa("slowdown", "its advance cell, 1200 m before its start");
            case error_code::slowdown_start_cell_taken:
                return presa("slowdown", "its start cell");
            case error_code::slowdown_end_cell_taken:
                return presa("slowdown", "its end cell");
            case error_code::slowdown_approach_cell_taken:
                return presa("slowdown", "an approach cell before its advance point");
            default:
                return std::nullopt;
        }
    }

    std::optional<std::string> station_message() {
        switch (e_->code) {
            case error_code::station_position_not_on_50:
                return chi("station") + ": its position is not a multiple of 50";
            case error_code::station_area_not_on_100: {
                const std::optional<int32_t> l = numero(e_->place, 3);
                return chi("station") + ": its area length" + (l ? ", " + metri(*l) + "," : std::string()) +
                       " is not a multiple of 100";
            }
            case error_code::too_many_stations:
                return troppe_stazioni();
            case error_code::stations_too_close:
                return spaziatura();
            case error_code::stop_cell_too_early: {
                std::string t = chi("station") + ": its stop cell would lie at or before cell 1";
                if (e_->cell)
                    t += " (cell " + std::to_string(*e_->cell) + ")";
                return t + "; the station area must end beyond 100 m";
            }
            default:
                return std::nullopt;
        }
    }

    // The finishing sweep's marks that found no free cell.
    std::optional<std::string> sweep_message() const {
        const int64_t cella_posizione = e_->position / 50;
        switch (e_->code) {
            case error_code::signal_mark_no_free_cell: {
                const std::string davanti = tratto(cella_posizione - 2, cella_posizione - 1);
                return chi("signal") + ": both cells in front of it (" + davanti +
                       ") are taken, so it gets no mark " +
                       "for the slowdown whose advance point lies up to 1000 m after it";
            }
            case error_code::approach_mark_no_free_cell:
                return chi("slowdown") + ": no free cell for one of its approach marks " +
                       "(250 to 350, 550 to 650 or 900 to 1000 m before its start cell)";
            case error_code::repeat_mark_no_free_cell:
                return chi("slowdown") + ": no free cell at " + tratto(cella_posizione) +
                       " for a repeat mark " +
                       "inside the slowdown, or for the mark in front of the first signal after its end";
            default:
                return std::nullopt;
        }
    }

    // The rest: positions beyond the route, reading failures, missing
    // sections, curves, stamps, and the table's words for anything else.
    std::string other_message() {
        const logged_error& e = *e_;
        switch (e.code) {
            case error_code::beyond_route_end:
                return e.inherited_stop ? arresto_ereditato() : fuori_percorso();
            case error_code::read_failure:
                return illeggibile();
            case error_code::line_description_missing:
                return "the line description does not exist";
            case error_code::general_section_missing:
                return senza_generale();
            case error_code::curve_invalid:
                return curva();
            case error_code::identity_stamp_in_use:
            case error_code::competition_code_stamp_in_use:
                return timbro();
            default: {
                std::string t = error_description(e.code);
                if (e.has_position)
                    t += " (at " + metri(e.position) + ")";
                return t;
            }
        }
    }

    // A read failure: the line being read, the field where reading failed,
    // why, and the line that holds a value found wrong only later.
    std::string illeggibile() {
        const source_place& l = e_->place;
        std::string dove = "the sources";
        if (l.known)
            dove = l.item != line_item::none ? descrivi(l) : nome_sorgente(l.source);
        std::string t = dove + ": cannot be read: " + (e_->detail.empty() ? "a read failure" : e_->detail);
        const auto i = static_cast<std::size_t>(e_->failed_field);
        if (e_->failed_field >= 0 && i < log_.fields.size() &&
            (!l.known || log_.fields[i].source == l.source)) {
            const field_record& f = log_.fields[i];
            const bool past_end = e_->detail.starts_with("the file ends");
            t += past_end ? "; the file ends after the field \"" : "; the field \"";
            t += f.raw.size() > 60 ? f.raw.substr(0, 60) + "..." : f.raw;
            t += "\" (line " + std::to_string(f.line) + ", columns " + std::to_string(f.first_column) +
                 " to " + std::to_string(std::max(f.first_column, f.last_column)) + ")";
            d_.source = f.source;
            d_.line = f.line;
            d_.column = f.first_column;
        }
        const source_place& v = e_->value_line;
        if (v.known && (!l.known || v.line != l.line || v.source != l.source)) {
            add_related(v, "the value was written here (" + descrivi(v) + ")");
            t += "; the value was written on line " + std::to_string(v.line) + " (" + descrivi(v) + ")";
        }
        return t + "; the compile stopped reading";
    }

    // No "[generale]" field before the end: say whether there is none at all
    // or it is the last field (never taken as the start), and whether the
    // file looks like UTF-16.
    std::string senza_generale() {
        d_.source = sorgente_testo::linea;
        d_.line = 1;
        d_.column = 1;
        const field_record* first = nullptr;
        const field_record* last = nullptr;
        for (const field_record& f : log_.fields)
            if (f.source == sorgente_testo::linea) {
                if (first == nullptr)
                    first = &f;
                last = &f;
            }
        std::string t = "the line description has no field holding \"[generale]\" before the end of the file";
        if (last != nullptr && lower_ascii(last->text).find("[generale]") != std::string::npos)
            t = "the line description's only \"[generale]\" is the file's last field, which is never taken "
                "as "
                "the start of the general section";
        t += ": nothing in it was read";
        if (first != nullptr && (first->raw.starts_with("\xFF\xFE") || first->raw.starts_with("\xFE\xFF") ||
                                 first->raw.find('\0') != std::string::npos))
            t += "; the file looks like UTF-16: save it as 8-bit text (Windows-1252)";
        return t;
    }

    std::string progressiva() const {
        const source_place& l = e_->place;
        if (!l.known)
            return "a kilometric progressive's start or end is not a multiple of 50";
        std::string t = "kilometric progressive \"" + campo(l, 0) + "\"";
        const std::optional<int32_t> inizio = numero(l, 1);
        const std::optional<int32_t> fine = numero(l, 2);
        if (inizio && fine)
            t += " (" + metri(*inizio) + ", " + metri(*fine) + ")";
        return t + ": its start and end must be multiples of 50";
    }

    // The compiler's own reading of the keyword tells the two causes apart.
    std::string curva() const {
        const std::string parola = campo(e_->place, 0);
        const std::optional<int32_t> inizio = numero(e_->place, 1);
        const std::string t =
            "curve \"" + parola + "\"" + (inizio ? " at " + metri(*inizio) : std::string()) + ": ";
        if (!curvatura_parola(parola))
            return t + "the keyword names no curve class (a digit 1 to 6)";
        return t + "the track plan would run beyond " + metri(ultimo_punto_curve);
    }

    std::string troppe_stazioni() const {
        // The boards' records are the ones read from a tunnel-name board line.
        int32_t cartelli = 0;
        for (const source_place& o : log_.record_origins)
            if (o.known && o.item == line_item::tunnel_board)
                ++cartelli;
        return chi("station") + ": one station too many: stations and the " + std::to_string(cartelli) +
               " tunnel-name boards share the records 1 to 80, so at most " + std::to_string(78 - cartelli) +
               " stations fit";
    }

    // The station's record is the one read from the error's line.
    std::string spaziatura() {
        for (int i = prima_voce_cartelli - 1; i >= 2; --i) {
            const source_place& o = log_.record_origins[static_cast<std::size_t>(i)];
            if (!o.known || !e_->place.known || o.source != e_->place.source || o.line != e_->place.line)
                continue;
            const voce& v = s_.voci[static_cast<std::size_t>(i)];
            const voce& prima = s_.voci[static_cast<std::size_t>(i - 1)];
            const int64_t scarto = int64_t{route::area_start(v)} - route::area_end(prima);
            add_related(log_.record_origins[static_cast<std::size_t>(i - 1)],
                        "the previous station" +
                            (prima.testo.empty() ? std::string() : ", " + prima.testo + ",") +
                            " whose area ends at " + metri(route::area_end(prima)));
            std::string t = chi("station") + ": its area starts at " + metri(route::area_start(v)) + ", ";
            t += scarto >= 0 ? "only " + metri(scarto) + " after" : "before";
            t += " the area of the previous station" +
                 (prima.testo.empty() ? std::string() : ", " + prima.testo + ",") + " ends (" +
                 metri(route::area_end(prima)) + "); 350 m are needed between them";
            return t;
        }
        return chi("station") + ": its area starts less than 350 m after the previous station's area ends";
    }

    std::string fuori_percorso() const {
        const logged_error& e = *e_;
        const bool stazione = e.place.item == line_item::station;
        const int32_t margine = stazione ? margine_stazione : margine_riga;
        std::string t = chi("line") + ": ";
        if (e.position < 0)
            return t + "lies before the start of the route";
        if (oltre_fine_percorso(s_, e.position, margine))
            return t + "too close to or beyond the end of the route; " +
                   (stazione ? "a station" : "a position") + " may lie at most at " +
                   metri(ultima_posizione_accettata(s_, margine)) + " (the route is " +
                   metri(route::length_read(s_.voci)) + " long, plus " +
                   metri(int64_t{s_.lunghezza_estesa} - route::length_read(s_.voci)) + " of run-off)";
        if (e.place.item == line_item::slowdown) {
            const std::optional<int32_t> lunghezza = numero(e.place, 3);
            if (lunghezza)
                return t + "its end, at " + metri(int64_t{e.position} + *lunghezza) +
                       ", lies beyond the end of the route";
            return t + "its end lies beyond the end of the route";
        }
        if (stazione)
            return t + "its station area or stop lies beyond the end of the route, or outside 32 bits";
        return t + "lies outside the route";
    }

    // An error the line description left makes the run description stop at
    // its first signal or slowdown, whose position the error record takes.
    std::string arresto_ereditato() {
        std::string t = chi("line") +
                        ": the run description was read up to this line, its first signal or slowdown, "
                        "and stopped here for the error " +
                        std::to_string(error_number(e_->code)) + " left by ";
        const logged_error* prima = nullptr;
        for (std::size_t i = indice_; i-- > 0;)
            if (log_.errors[i].code == e_->code && !log_.errors[i].inherited_stop) {
                prima = &log_.errors[i];
                break;
            }
        if (prima)
            add_related(prima->place, "the error " + std::to_string(error_number(e_->code)) + " left here");
        if (prima && prima->place.known)
            t += "line " + std::to_string(prima->place.line) + " of " + nome_sorgente(prima->place.source);
        else
            t += "an earlier line";
        return t + "; the error record took this position";
    }

    std::string timbro() const {
        const bool identita = e_->code == error_code::identity_stamp_in_use;
        const char* nome = identita ? "identity stamp" : "competition code stamp";
        // The stamped cell, as the compile logged it.
        const int64_t n = e_->cell.value_or(-1);
        if (n >= 0 && n < static_cast<int64_t>(s_.celle.size())) {
            const cella& c = s_.celle[static_cast<std::size_t>(n)];
            const int16_t valore = identita ? c.dato1 : c.dato2;
            if (valore != 0) {
                const std::string qui = "cell " + std::to_string(n);
                std::string t = std::string(nome) + ": " + qui + " (" + tratto(n) + ") already holds " +
                                cosa_sta(c.tipo) + " with " + (identita ? "dato1" : "dato2") + " = " +
                                std::to_string(valore);
                if (e_->place.known)
                    t += " (the " + descrivi(e_->place) + ")";
                return t + "; the compiler stamps the scenario " +
                       (identita ? "identity" : "competition code") + " there, so nothing may stand in " +
                       qui + "; no file was written";
            }
        }
        return std::string(nome) + ": the stamp slot of record 85 is already in use; no file was written";
    }

    const stato_scenario& s_;
    const compile_log& log_;

    // The error being explained, its place in the log, and its diagnosis.
    const logged_error* e_ = nullptr;
    std::size_t indice_ = 0;
    diagnosis d_;
};

}  // namespace

const char* element_name(line_item e) {
    using el = line_item;
    switch (e) {
        case el::none:
            return "line";
        case el::route_length:
            return "route length";
        case el::progressive:
            return "kilometric progressive";
        case el::scenery:
            return "scenery value";
        case el::signal_repetition:
            return "signal repetition";
        case el::gradient:
            return "gradient";
        case el::curve:
            return "curve";
        case el::tunnel:
            return "tunnel";
        case el::speed_board:
            return "maximum-speed board";
        case el::tunnel_board:
            return "tunnel-name board";
        case el::braked_mass:
            return "braked mass";
        case el::coaches:
            return "number of coaches";
        case el::speed_limit:
            return "speed limit";
        case el::adhesion:
            return "adhesion";
        case el::clock:
            return "clock";
        case el::sand:
            return "sand";
        case el::signal:
            return "signal";
        case el::slowdown:
            return "slowdown";
        case el::abbattimento:
            return "abbattimento point";
        case el::station:
            return "station";
    }
    return "line";
}

const char* severity_name(error_severity g) {
    switch (g) {
        case error_severity::reader_stop:
            return "reader";
        case error_severity::sweep:
            return "sweep";
        case error_severity::fatal:
            return "fatal";
    }
    return "reader";
}

const char* severity_effect(error_severity g) {
    switch (g) {
        case error_severity::reader_stop:
            return "reading stopped there";
        case error_severity::sweep:
            return "the compile went on";
        case error_severity::fatal:
            return "the compile stopped, no file written";
    }
    return "";
}

std::vector<diagnosis> diagnose(const stato_scenario& s, const compile_log& log,
                                const std::optional<error_code>& timbro) {
    compositore c(s, log);
    std::vector<diagnosis> elenco;
    elenco.reserve(log.errors.size() + 1);
    for (std::size_t i = 0; i < log.errors.size(); ++i)
        elenco.push_back(c.componi(log.errors[i], i));
    if (timbro) {
        // The compile logs its stamp errors; a log that did not still gets one.
        logged_error fatale;
        fatale.code = *timbro;
        if (elenco.empty() || elenco.back().code != fatale.code)
            elenco.push_back(c.componi(fatale, log.errors.size()));
    }
    return elenco;
}

}  // namespace scenario::tool
