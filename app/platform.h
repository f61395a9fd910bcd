// What the program needs of the operating system. One implementation file per
// platform (platform_linux.cpp, platform_win32.cpp); nothing else in the
// program includes a platform header.
//
// Besides the functions below, each platform file holds the process's entry
// point (main, wWinMain), which does nothing but create the form and run its
// start-up handler, returning its exit status:
//     scenario::Form1 form;
//     return form.Form_Load();
// The entry point stands inside #ifndef SCENARIO_SENZA_INGRESSO: window_preview
// compiles the same file with that macro defined and brings its own main.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace scenario::piattaforma {

// The directory that holds the running executable (never the current directory).
std::filesystem::path cartella_programma();

// The program's one window, Form1, with its label "Attendere". Closed when destroyed.
class finestra {
public:
    virtual ~finestra() = default;
};

// Shows the window, not modal, and paints it at once. Gives nothing when the
// program runs without a window (no display can be opened).
std::unique_ptr<finestra> mostra_finestra();

// A modal message with one OK button (standard error where there is no window system).
void mostra_messaggio(const std::string& testo);

// The system's own text for an error, in the user's language where the system
// has one (Windows); the C library's text on Linux.
std::string system_error_text(const std::error_code& cause);

// A note for whoever ran the program that needs no answer (a recorded compile
// error): standard error on Linux.
void annota(const std::string& testo);

}  // namespace scenario::piattaforma
