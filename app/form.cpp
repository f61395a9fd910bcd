#include "app/form.h"

#include "app/failure_message.h"
#include "common/file_replace.h"
#include "compiler/errors.h"
#include "compiler/source_store.h"
#include "sources/document_names.h"
#include "sources/identity.h"
#include "sources/writers.h"

#include <cstdint>
#include <exception>

namespace scenario {

int Form1::Form_Load() {
    int esito = program_exit_status::stopped;
    try {
        esito = esegui_corsa();
    } catch (const std::exception& e) {
        esito = interrompi(unfinished_run_message(std::string(e.what())));
    }
    finestra_.reset();  // the window goes when the run is over
    return esito;
}

int Form1::esegui_corsa() {
    s_.nome_scenario = sorgenti::nome_scenario;
    s_.numero_treno = sorgenti::numero_treno;

    // Painted before the work starts: nothing repaints it until the run is over.
    finestra_ = piattaforma::mostra_finestra();

    cartella_ = piattaforma::cartella_programma();
    if (cartella_.empty())
        return interrompi(unfinished_run_without_directory());

    // The order of the calls, not of the documents.
    for (auto scrittore : {&Form1::dati_linea, &Form1::dati_treno, &Form1::dati_note,
                           &Form1::dati_rallentamenti, &Form1::dati_scheda}) {
        if (const result<void> scritto = (this->*scrittore)(); !scritto)
            return interrompi(scritto.error());
    }

    int32_t j = 1;  // build the track plan and write the line file
    sorgenti_su_disco sorgenti(cartella_, s_.nome_scenario, s_.numero_treno);
    // The program only reports the errors: the field records are not kept,
    // nor the plan's points (the line file is made from its runs of steps).
    compile_options options;
    options.record_fields = false;
    options.keep_plan_points = false;
    return riporta_compilazione(memorizza_percorso(s_, j, sorgenti, cartella_, options, &log_));
}

int Form1::riporta_compilazione(const result<void, arresto_fatale>& compilato) {
    if (!compilato) {
        const arresto_fatale& arresto = compilato.error();
        if (arresto.perche == arresto_fatale::motivo::timbro)
            return errore(std::to_string(error_number(arresto.errore)));
        return interrompi(
            unfinished_run_message(arresto.guasto, piattaforma::system_error_text(arresto.guasto.cause)));
    }
    if (s_.codice_errore == 0 && log_.errors.empty())
        return program_exit_status::completed;

    // The files are written, but what they hold is not what the sources say:
    // whoever ran the program must learn which errors the compile met.
    if (log_.errors.empty()) {
        logged_error last;
        last.code = error_from_number(s_.codice_errore).value_or(error_code::none);
        last.position = s_.posizione_errore;
        last.has_position = true;
        piattaforma::annota(messaggio_errore(last));
    }
    for (const auto& e : log_.errors)
        piattaforma::annota(messaggio_errore(e));
    return program_exit_status::written_with_errors;
}

int Form1::errore(const std::string& a) {
    piattaforma::mostra_messaggio(" Errore n. " + a);
    return program_exit_status::stopped;
}

int Form1::interrompi(const std::string& messaggio) {
    piattaforma::mostra_messaggio(messaggio);
    return program_exit_status::stopped;
}

result<void> Form1::scrivi_testo(const std::string& nome_file, const lista_righe& righe) {
    if (auto scritto = replace_file(percorso_in(cartella_, nome_file), testo_lista(righe)); !scritto)
        return failure{
            unfinished_run_message(scritto.error(), piattaforma::system_error_text(scritto.error().cause))};
    return {};
}

result<void> Form1::dati_linea() {
    return scrivi_testo(nome_file_linea_testo(s_.nome_scenario), sorgenti::righe_linea());
}

result<void> Form1::dati_treno() {
    return scrivi_testo(nome_file_corsa_testo(s_.nome_scenario, s_.numero_treno), sorgenti::righe_treno());
}

result<void> Form1::dati_note() {
    return scrivi_testo(sorgenti::notes_document_name(s_.nome_scenario, s_.numero_treno),
                        sorgenti::righe_note());
}

result<void> Form1::dati_rallentamenti() {
    return scrivi_testo(sorgenti::slow_order_document_name(s_.nome_scenario, s_.numero_treno),
                        sorgenti::righe_rallentamenti());
}

result<void> Form1::dati_scheda() {
    return scrivi_testo(sorgenti::train_card_document_name(s_.nome_scenario, s_.numero_treno),
                        sorgenti::righe_scheda());
}

}  // namespace scenario
