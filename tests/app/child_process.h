// Running a program as a child process, with every wait bounded: its working
// directory, its display, a file-size limit, its output kept in files.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace prova {

struct opzioni_figlio {
    std::vector<std::string> argomenti;  // after the program's own name
    std::filesystem::path cartella_lavoro = "/";
    std::optional<std::string> display;             // nothing: DISPLAY is removed
    std::optional<unsigned long> limite_file_byte;  // RLIMIT_FSIZE of the child
    int descrittore_ereditato = -1;                 // left open in the child, same number
};

class processo_figlio {
public:
    processo_figlio(const std::filesystem::path& programma, const opzioni_figlio& opzioni);
    ~processo_figlio();  // a child still running is killed
    processo_figlio(const processo_figlio&) = delete;
    processo_figlio& operator=(const processo_figlio&) = delete;

    // Waits at most `limite` for the end. The exit status, 128 + the signal
    // for a child killed by one; nothing when it still runs.
    std::optional<int> attendi(std::chrono::milliseconds limite);
    void uccidi();
    // Asks it to end (SIGTERM), then kills it when it has not ended within `limite`.
    void termina(std::chrono::milliseconds limite);

    std::string uscita() const;  // what it wrote on standard output
    std::string errori() const;  // what it wrote on standard error

private:
    pid_t pid_ = -1;
    std::optional<int> stato_;
    std::filesystem::path cartella_uscite_;
};

// Runs to the end, at most `limite`; nothing when it had to be killed.
struct esito_figlio {
    std::optional<int> stato;
    std::string uscita;
    std::string errori;
};
esito_figlio esegui(const std::filesystem::path& programma, const opzioni_figlio& opzioni,
                    std::chrono::milliseconds limite = std::chrono::seconds(60));

// A program found on PATH, if any.
std::optional<std::filesystem::path> trova_programma(const std::string& nome);

// A fresh directory named `suffisso` inside a new directory under the system's
// temporary directory; remove it with its parent.
std::filesystem::path cartella_nuova(const std::string& suffisso);

std::string leggi_file(const std::filesystem::path& p);
void scrivi_file(const std::filesystem::path& p, const std::string& contenuto);

}  // namespace prova
