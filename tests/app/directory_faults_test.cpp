// The real program in a directory it cannot fully use, after a good run left
// the whole package there: it must stop at the failing file with a message
// that names the file and the cause, exit with a failure status, and leave
// every earlier file exactly as it was. Each fault is provoked the way this
// machine allows (root ignores permissions):
// - a read-only filesystem: the directory bind-mounted read-only in a private
//   mount namespace of the child (needs root and mount rights);
// - permission denied: the directory made read-only (not root), or the
//   program run as the unprivileged user "nobody" (root);
// - a full filesystem: a small tmpfs over the directory, in a private mount
//   namespace (needs root and mount rights).
#include "tests/app/child_process.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string nome_programma = "calvena_roccalba";
const std::string primo_file = "Calvena_Roccalba_linea.txt";  // the first file a run writes

class DirectoryFaults : public ::testing::Test {
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
        EXPECT_NE(esito.errori.find("Scenario non completato: impossibile aprire il file \""),
                  std::string::npos)
            << esito.errori;
        EXPECT_NE(esito.errori.find(primo_file), std::string::npos) << esito.errori;
        EXPECT_NE(esito.errori.find(std::strerror(causa)), std::string::npos) << esito.errori;
        verifica_pacchetto_intatto(cartella_);
        EXPECT_TRUE(fs::is_empty(lavoro_)) << "nothing goes into the working directory";
    }

    // `cartella` holds exactly the files of the earlier good run, unchanged:
    // nothing lost, nothing truncated, no temporary file left behind.
    void verifica_pacchetto_intatto(const fs::path& cartella) {
        std::set<std::string> presenti;
        for (const auto& voce : fs::directory_iterator(cartella)) {
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
    }

    fs::path cartella_;
    fs::path lavoro_;
    fs::path programma_;
    std::map<std::string, std::string> pacchetto_;
};

TEST_F(DirectoryFaults, ReadOnlyFilesystemStopsTheRunAtItsFirstFile) {
    const auto unshare = prova::trova_programma("unshare");
    const auto sh = prova::trova_programma("sh");
    if (geteuid() != 0 || !unshare || !sh)
        GTEST_SKIP() << "needs root, unshare and sh";
    // Mount rights are not a given in a container: try them first.
    const auto prova_mount = avvia(*unshare, {"--mount", "--propagation", "private", "--", sh->string(), "-c",
                                              "mount --bind \"$1\" \"$1\" && mount -o remount,bind,ro \"$1\"",
                                              "sh", cartella_.string()});
    if (prova_mount.stato != std::optional<int>(0))
        GTEST_SKIP() << "no mount rights here: " << prova_mount.errori;

    const auto esito =
        avvia(*unshare, {"--mount", "--propagation", "private", "--", sh->string(), "-c",
                         "mount --bind \"$1\" \"$1\" && mount -o remount,bind,ro \"$1\" && exec \"$2\"", "sh",
                         cartella_.string(), programma_.string()});
    verifica_arresto(esito, EROFS);
}

TEST_F(DirectoryFaults, PermissionDeniedStopsTheRunAtItsFirstFile) {
    if (geteuid() != 0) {
        fs::permissions(cartella_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        verifica_arresto(avvia(programma_, {}), EACCES);
        return;
    }
    // Root writes anywhere: run the program as "nobody", who may read and run
    // it (its directories are opened up for that) but write nothing there.
    const auto setpriv = prova::trova_programma("setpriv");
    if (!setpriv)
        GTEST_SKIP() << "needs setpriv to run as an unprivileged user";
    for (const fs::path& p : {cartella_.parent_path(), cartella_, lavoro_.parent_path()})
        fs::permissions(p, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
    verifica_arresto(
        avvia(*setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups", "--", programma_.string()}),
        EACCES);
}

// A filesystem that fills up while the 940 KB line file is written: a small
// tmpfs mounted over the program directory in a private mount namespace, with
// the program and the earlier package copied in and, after the run, copied
// back out for the checks. (A file-size limit, the other way to fill a disk,
// is the program's own end-to-end test.)
TEST_F(DirectoryFaults, FullFilesystemWhileWritingACompiledFileKeepsTheEarlierGoodFile) {
    const auto unshare = prova::trova_programma("unshare");
    const auto sh = prova::trova_programma("sh");
    if (geteuid() != 0 || !unshare || !sh)
        GTEST_SKIP() << "needs root, unshare and sh";

    const fs::path copia = prova::cartella_nuova("copia");
    const fs::path risultato = prova::cartella_nuova("risultato");
    std::uintmax_t occupato = 0;
    for (const auto& voce : fs::directory_iterator(cartella_)) {
        fs::copy_file(voce.path(), copia / voce.path().filename(), fs::copy_options::overwrite_existing);
        occupato += voce.file_size();
    }
    fs::permissions(copia / nome_programma, fs::perms::owner_all);
    // Room for the text files of the run, not for a second line file.
    const std::uintmax_t dimensione = occupato + 256 * 1024;
    ASSERT_GT(pacchetto_.at("Calvena_Roccalba_linea.dat").size(), 256u * 1024u);

    const std::string script =
        "mount -t tmpfs -o size=\"$3\" tmpfs \"$1\" || exit 90\n"
        "cp -p \"$2\"/* \"$1\"/ || exit 91\n"
        "\"$1\"/" +
        nome_programma +
        "\n"
        "rc=$?\n"
        "cp -p \"$1\"/* \"$4\"/ || exit 92\n"
        "exit $rc\n";
    const auto esito =
        avvia(*unshare, {"--mount", "--propagation", "private", "--", sh->string(), "-c", script, "sh",
                         cartella_.string(), copia.string(), std::to_string(dimensione), risultato.string()});
    if (esito.stato == std::optional<int>(90))
        GTEST_SKIP() << "no mount rights here: " << esito.errori;
    ASSERT_TRUE(esito.stato.has_value()) << "the program did not end by itself";
    EXPECT_EQ(*esito.stato, 1) << esito.errori;
    EXPECT_NE(esito.errori.find("Scenario non completato: impossibile scrivere il file \""),
              std::string::npos)
        << esito.errori;
    EXPECT_NE(esito.errori.find("Calvena_Roccalba_linea.dat"), std::string::npos) << esito.errori;
    EXPECT_NE(esito.errori.find(std::strerror(ENOSPC)), std::string::npos) << esito.errori;

    // The documents were written again, the same; the compiled files are the
    // earlier good ones; no temporary file is left.
    verifica_pacchetto_intatto(risultato);

    std::error_code ec;
    fs::remove_all(copia.parent_path(), ec);
    fs::remove_all(risultato.parent_path(), ec);
}

}  // namespace
