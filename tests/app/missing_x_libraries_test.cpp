// The program on a machine without Xlib and Xft: the libraries are hidden in a
// private mount namespace of the child (an empty file bind-mounted over each),
// a display is named, and the program must still start, write its whole
// package without a window and end with status 0. Needs root and mount rights.
#include "tests/app/child_process.h"

#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::vector<std::string> pacchetto{"Calvena_Roccalba_4127_note.txt",
                                         "Calvena_Roccalba_4127_rallentamenti.txt",
                                         "Calvena_Roccalba_4127_scheda_treno.txt",
                                         "Calvena_Roccalba_linea.dat",
                                         "Calvena_Roccalba_4127.sim",
                                         "Calvena_Roccalba_4127.dat"};

// The files behind the sonames the window loads, wherever this system keeps them.
std::set<fs::path> x_library_files() {
    std::set<fs::path> files;
    std::vector<fs::path> dirs;
    for (const fs::path base : {"/lib", "/lib64", "/usr/lib", "/usr/lib64", "/usr/local/lib"}) {
        std::error_code ec;
        if (!fs::is_directory(base, ec))
            continue;
        dirs.push_back(base);
        for (const auto& entry : fs::directory_iterator(base, ec))
            if (entry.is_directory(ec) &&
                entry.path().filename().string().find("-linux-") != std::string::npos)
                dirs.push_back(entry.path());
    }
    for (const auto& dir : dirs)
        for (const char* soname : {"libX11.so.6", "libXft.so.2"}) {
            std::error_code ec;
            const fs::path real = fs::canonical(dir / soname, ec);
            if (!ec)
                files.insert(real);
        }
    return files;
}

TEST(MissingXLibraries, ProgramWritesItsPackageWithoutAWindow) {
    const auto unshare = prova::trova_programma("unshare");
    const auto sh = prova::trova_programma("sh");
    if (geteuid() != 0 || !unshare || !sh)
        GTEST_SKIP() << "needs root, unshare and sh";
    const auto libraries = x_library_files();
    if (libraries.empty())
        GTEST_SKIP() << "no X library on this machine to hide";

    const fs::path cartella = prova::cartella_nuova("senza x");
    const fs::path vuoto = cartella.parent_path() / "vuoto";
    prova::scrivi_file(vuoto, "");
    const fs::path programma = cartella / "calvena_roccalba";
    fs::copy_file(SCENARIO_PROGRAMMA, programma);

    // Arguments: the empty file, the program, then the libraries to hide.
    // Exit 90: no mount rights; 91: a library still readable after hiding it.
    const std::string script =
        "vuoto=$1; programma=$2; shift 2\n"
        "for l in \"$@\"; do mount --bind \"$vuoto\" \"$l\" || exit 90; done\n"
        "for l in \"$@\"; do [ -s \"$l\" ] && exit 91; done\n"
        "exec \"$programma\"\n";
    prova::opzioni_figlio opzioni;
    opzioni.argomenti = {"--mount", "--propagation", "private", "--",           sh->string(),
                         "-c",      script,          "sh",      vuoto.string(), programma.string()};
    for (const auto& l : libraries)
        opzioni.argomenti.push_back(l.string());
    opzioni.display = ":0";
    opzioni.cartella_lavoro = cartella.parent_path();
    const auto esito = prova::esegui(*unshare, opzioni, 120s);

    std::error_code ec;
    const bool no_namespace =
        esito.stato == std::optional<int>(90) ||
        (esito.stato == std::optional<int>(1) && esito.errori.rfind("unshare:", 0) == 0);
    if (no_namespace) {
        fs::remove_all(cartella.parent_path(), ec);
        GTEST_SKIP() << "no private mount namespace here: " << esito.errori;
    }
    ASSERT_TRUE(esito.stato.has_value()) << "the program did not end by itself";
    EXPECT_EQ(*esito.stato, 0) << esito.errori;
    EXPECT_EQ(esito.errori, "");
    for (const auto& nome : pacchetto)
        EXPECT_TRUE(fs::is_regular_file(cartella / nome)) << nome << " missing";
    fs::remove_all(cartella.parent_path(), ec);
}

}  // namespace
