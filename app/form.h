// Form1: the program's one window and the whole run behind it. Creating the
// form and calling Form_Load is the program; it ends when Form_Load returns.
#pragma once

#include "app/exit_status.h"
#include "app/platform.h"
#include "common/line_list.h"
#include "common/result.h"
#include "compiler/compile_driver.h"
#include "compiler/state.h"

#include <filesystem>
#include <memory>
#include <string>

namespace scenario {

class Form1 {
public:
    // Sets the scenario identity, shows the window, writes the five text files,
    // compiles them into the three compiled files and closes the window.
    // Gives the exit status; the caller ends the process with it.
    int Form_Load();

    // Shows " Errore n. " followed by `a` and gives the status that ends the
    // run; the caller returns it at once, so nothing else of the run happens.
    int errore(const std::string& a);

    // What the compile left: a fatal stop is shown and ends the run; errors it
    // recorded without stopping are listed as notes, one per error.
    int riporta_compilazione(const result<void, arresto_fatale>& compilato);

    stato_scenario& stato() { return s_; }
    compile_log& log() { return log_; }

private:
    int esegui_corsa();

    // The five writers. Each replaces its file in the program directory, or
    // gives the message that ends the run, naming the file, when it could not.
    result<void> dati_linea();
    result<void> dati_treno();
    result<void> dati_note();
    result<void> dati_rallentamenti();
    result<void> dati_scheda();
    result<void> scrivi_testo(const std::string& nome_file, const lista_righe& righe);

    // Shows the message of an unfinished run and gives the status that ends it.
    int interrompi(const std::string& messaggio);

    stato_scenario s_;
    compile_log log_;  // the errors of the compile, for the notes after it
    std::filesystem::path cartella_;
    std::unique_ptr<piattaforma::finestra> finestra_;
};

}  // namespace scenario
