#include "tests/app/child_process.h"

#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <signal.h>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace prova {

namespace fs = std::filesystem;

namespace {
[[noreturn]] void fallisci_nel_figlio(const char* passo) {
    const std::string testo = std::string("child_process: ") + passo + ": " + std::strerror(errno) + "\n";
    (void)!write(2, testo.data(), testo.size());
    _exit(127);
}
}  // namespace

processo_figlio::processo_figlio(const fs::path& programma, const opzioni_figlio& opzioni)
    : cartella_uscite_(cartella_nuova("uscite")) {
    // Everything the child needs is made before fork: only async-signal-safe calls after it.
    std::vector<std::string> parole{programma.string()};
    parole.insert(parole.end(), opzioni.argomenti.begin(), opzioni.argomenti.end());
    std::vector<char*> argv;
    for (auto& p : parole)
        argv.push_back(p.data());
    argv.push_back(nullptr);

    std::vector<std::string> ambiente;
    for (char** v = environ; *v != nullptr; ++v) {
        if (std::strncmp(*v, "DISPLAY=", 8) != 0)
            ambiente.emplace_back(*v);
    }
    if (opzioni.display)
        ambiente.push_back("DISPLAY=" + *opzioni.display);
    std::vector<char*> envp;
    for (auto& v : ambiente)
        envp.push_back(v.data());
    envp.push_back(nullptr);

    const std::string file_uscita = (cartella_uscite_ / "stdout").string();
    const std::string file_errori = (cartella_uscite_ / "stderr").string();
    const std::string lavoro = opzioni.cartella_lavoro.string();

    pid_ = fork();
    if (pid_ < 0)
        throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        setpgid(0, 0);  // its own group, so a kill reaches whatever it starts
        if (chdir(lavoro.c_str()) != 0)
            fallisci_nel_figlio("chdir");
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(file_uscita.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(file_errori.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0)
            fallisci_nel_figlio("open");
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (opzioni.limite_file_byte) {
            rlimit limite{*opzioni.limite_file_byte, *opzioni.limite_file_byte};
            if (setrlimit(RLIMIT_FSIZE, &limite) != 0)
                fallisci_nel_figlio("setrlimit");
        }
        if (opzioni.descrittore_ereditato >= 0) {
            const int flag = fcntl(opzioni.descrittore_ereditato, F_GETFD);
            fcntl(opzioni.descrittore_ereditato, F_SETFD, flag & ~FD_CLOEXEC);
        }
        execve(argv[0], argv.data(), envp.data());
        fallisci_nel_figlio("execve");
    }
}

processo_figlio::~processo_figlio() {
    uccidi();
    std::error_code ec;
    fs::remove_all(cartella_uscite_.parent_path(), ec);
}

std::optional<int> processo_figlio::attendi(std::chrono::milliseconds limite) {
    if (stato_ || pid_ <= 0)
        return stato_;
    const auto scadenza = std::chrono::steady_clock::now() + limite;
    for (;;) {
        int stato = 0;
        const pid_t r = waitpid(pid_, &stato, WNOHANG);
        if (r == pid_) {
            stato_ = WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
            return stato_;
        }
        if (r < 0) {
            stato_ = -1;
            return stato_;
        }
        if (std::chrono::steady_clock::now() >= scadenza)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void processo_figlio::uccidi() {
    if (stato_ || pid_ <= 0)
        return;
    kill(-pid_, SIGKILL);
    kill(pid_, SIGKILL);
    int stato = 0;
    waitpid(pid_, &stato, 0);
    stato_ = 128 + SIGKILL;
}

void processo_figlio::termina(std::chrono::milliseconds limite) {
    if (stato_ || pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    if (!attendi(limite))
        uccidi();
}

std::string processo_figlio::uscita() const {
    return leggi_file(cartella_uscite_ / "stdout");
}
std::string processo_figlio::errori() const {
    return leggi_file(cartella_uscite_ / "stderr");
}

esito_figlio esegui(const fs::path& programma, const opzioni_figlio& opzioni,
                    std::chrono::milliseconds limite) {
    processo_figlio figlio(programma, opzioni);
    esito_figlio esito;
    esito.stato = figlio.attendi(limite);
    if (!esito.stato)
        figlio.uccidi();
    esito.uscita = figlio.uscita();
    esito.errori = figlio.errori();
    return esito;
}

std::optional<fs::path> trova_programma(const std::string& nome) {
    const char* percorso = std::getenv("PATH");
    std::stringstream cartelle(percorso != nullptr ? percorso : "/usr/bin:/bin");
    std::string cartella;
    while (std::getline(cartelle, cartella, ':')) {
        if (cartella.empty())
            continue;
        const fs::path candidato = fs::path(cartella) / nome;
        if (access(candidato.c_str(), X_OK) == 0)
            return candidato;
    }
    return std::nullopt;
}

fs::path cartella_nuova(const std::string& suffisso) {
    std::string modello = (fs::temp_directory_path() / "scenario-XXXXXX").string();
    if (mkdtemp(modello.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    const fs::path base(modello);
    const fs::path cartella = base / fs::path(suffisso);
    fs::create_directories(cartella);
    return cartella;
}

std::string leggi_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void scrivi_file(const fs::path& p, const std::string& contenuto) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << contenuto;
    if (!out)
        throw std::runtime_error("cannot write " + p.string());
}

}  // namespace prova
