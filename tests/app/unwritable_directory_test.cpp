// The real program in a directory it cannot write to, after a good run left
// the whole package there: it must stop at its first file with a message that
// names the file and the cause, exit with a failure status, and leave every
// earlier file exactly as it was.
//
// Two ways to take the directory away, each provoked the way this machine
// allows (root ignores permissions):
// - a read-only filesystem: the directory bind-mounted read-only in a private
//   mount namespace of the child (needs root and mount rights);
// - permission denied: the directory made read-only (not root), or the
//   program run as the unprivileged user "nobody" (root).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <set>

#include "child_process.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string nome_programma = "calvena_roccalba";
const std::string primo_file = "Calvena_Roccalba_linea.txt";  // the first file a run writes

class UnwritableDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        cartella_ = prova::cartella_nuova("programma");
        lavoro_ = prova::cartella_nuova("lavoro");
        programma_ = cartella_ / nome_programma;
        fs::copy_file(SCENARIO_PROGRAMMA, programma_);

        const auto prima = avvia(programma_, {});
        ASSERT_EQ(prima.stato, std::optional<int>(0)) << prima.errori;
        for (const auto& voce : fs::directory_iterator(cartella_))
            pacchetto_[voce.path().filename().string()] = prova::leggi_file(voce.path());
        ASSERT_EQ(pacchetto_.size(), 7u) << "the program and the six files of the package";
    }

    void TearDown() override {
        std::error_code ec;
        fs::permissions(cartella_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(cartella_.parent_path(), ec);
        fs::remove_all(lavoro_.parent_path(), ec);
    }

    prova::esito_figlio avvia(const fs::path& eseguibile, std::vector<std::string> argomenti) {
        prova::opzioni_figlio opzioni;
        opzioni.argomenti = std::move(argomenti);
        opzioni.cartella_lavoro = lavoro_;
        return prova::esegui(eseguibile, opzioni, 120s);
    }

    // The run must stop at the first file, say why, and change nothing.
    void verifica_arresto(const prova::esito_figlio& esito, int causa) {
        ASSERT_TRUE(esito.stato.has_value()) << "the program did not end by itself";
        EXPECT_EQ(*esito.stato, 1) << esito.errori;
        EXPECT_NE(esito.errori.find(primo_file), std::string::npos) << esito.errori;
        EXPECT_NE(esito.errori.find(std::strerror(causa)), std::string::npos) << esito.errori;

        std::set<std::string> presenti;
        for (const auto& voce : fs::directory_iterator(cartella_)) {
            const std::string nome = voce.path().filename().string();
            presenti.insert(nome);
            const auto prima = pacchetto_.find(nome);
            if (prima == pacchetto_.end()) {
                ADD_FAILURE() << "left behind: " << nome;
            } else {
                EXPECT_TRUE(prova::leggi_file(voce.path()) == prima->second) << nome << " changed";
            }
        }
        EXPECT_EQ(presenti.size(), pacchetto_.size()) << "a file of the earlier run is gone";
        EXPECT_TRUE(fs::is_empty(lavoro_)) << "nothing goes into the working directory";
    }

    fs::path cartella_;
    fs::path lavoro_;
    fs::path programma_;
    std::map<std::string, std::string> pacchetto_;
};

TEST_F(UnwritableDirectory, ReadOnlyFilesystemStopsTheRunAtItsFirstFile) {
    const auto unshare = prova::trova_programma("unshare");
    const auto sh = prova::trova_programma("sh");
    if (geteuid() != 0 || !unshare || !sh) GTEST_SKIP() << "needs root, unshare and sh";
    // Mount rights are not a given in a container: try them first.
    const auto prova_mount = avvia(*unshare, {"--mount", "--propagation", "private", "--", sh->string(), "-c",
                                              "mount --bind \"$1\" \"$1\" && mount -o remount,bind,ro \"$1\"",
                                              "sh", cartella_.string()});
    if (prova_mount.stato != std::optional<int>(0)) GTEST_SKIP() << "no mount rights here: " << prova_mount.errori;

    const auto esito = avvia(*unshare, {"--mount", "--propagation", "private", "--", sh->string(), "-c",
                                        "mount --bind \"$1\" \"$1\" && mount -o remount,bind,ro \"$1\" && exec \"$2\"",
                                        "sh", cartella_.string(), programma_.string()});
    verifica_arresto(esito, EROFS);
}

TEST_F(UnwritableDirectory, PermissionDeniedStopsTheRunAtItsFirstFile) {
    if (geteuid() != 0) {
        fs::permissions(cartella_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        verifica_arresto(avvia(programma_, {}), EACCES);
        return;
    }
    // Root writes anywhere: run the program as "nobody", who may read and run
    // it (its directories are opened up for that) but write nothing there.
    const auto setpriv = prova::trova_programma("setpriv");
    if (!setpriv) GTEST_SKIP() << "needs setpriv to run as an unprivileged user";
    for (const fs::path& p : {cartella_.parent_path(), cartella_, lavoro_.parent_path()})
        fs::permissions(p, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
    verifica_arresto(avvia(*setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                                      programma_.string()}),
                     EACCES);
}

}  // namespace
