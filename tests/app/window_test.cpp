// The window on a real X server (Xvfb): looked at in a screenshot, as a person
// would look at it. Skipped where Xvfb, ImageMagick's import or xdotool is missing.
#include "tests/app/child_process.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <poll.h>
#include <random>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string titolo = "Calvena - Roccalba Terme, treno 4127";

struct rettangolo {
    int x = 0, y = 0, larghezza = 0, altezza = 0;
    bool contiene(int px, int py) const {
        return px >= x && px < x + larghezza && py >= y && py < y + altezza;
    }
};

// An RGB screenshot read from a binary PPM file.
struct immagine {
    int larghezza = 0, altezza = 0;
    std::string pixel;  // 3 bytes a pixel, row after row

    int canale(int x, int y, int c) const {
        return static_cast<unsigned char>(
            pixel[(std::size_t(y) * std::size_t(larghezza) + std::size_t(x)) * 3 + std::size_t(c)]);
    }
    bool scuro(int x, int y) const {
        return canale(x, y, 0) < 0x60 && canale(x, y, 1) < 0x60 && canale(x, y, 2) < 0x60;
    }
    bool grigio_chiaro(int x, int y) const {
        int minimo = 255, massimo = 0;
        for (int c = 0; c < 3; ++c) {
            minimo = std::min(minimo, canale(x, y, c));
            massimo = std::max(massimo, canale(x, y, c));
        }
        return minimo >= 0xB0 && massimo < 0xF0 && massimo - minimo <= 0x18;
    }
};

std::optional<immagine> leggi_ppm(const fs::path& p) {
    std::istringstream in(prova::leggi_file(p));
    std::string magia;
    int massimo = 0;
    immagine img;
    in >> magia >> img.larghezza >> img.altezza >> massimo;
    if (magia != "P6" || (massimo != 255 && massimo != 65535) || img.larghezza <= 0 || img.altezza <= 0)
        return std::nullopt;
    in.get();  // the single blank after the header
    // Samples of 16 bits are big-endian: their first byte is the 8-bit value.
    const std::size_t byte_campione = massimo == 255 ? 1 : 2;
    std::string dati(std::size_t(img.larghezza) * std::size_t(img.altezza) * 3 * byte_campione, '\0');
    in.read(dati.data(), std::streamsize(dati.size()));
    if (!in)
        return std::nullopt;
    for (std::size_t i = 0; i < dati.size(); i += byte_campione)
        img.pixel.push_back(dati[i]);
    return img;
}

class WindowOnXvfb : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* strumento : {"Xvfb", "import", "xdotool"}) {
            auto trovato = prova::trova_programma(strumento);
            if (!trovato)
                GTEST_SKIP() << strumento << " is not installed";
            strumenti_[strumento] = *trovato;
        }

        // Other X servers may come and go on this machine (a server that ends
        // removes its socket by name): take a display number far from the usual
        // ones, and try another when the server does not start or cannot be reached.
        std::mt19937 caso(std::random_device{}());
        for (int prova_numero = 0; prova_numero < 5 && display_.empty(); ++prova_numero) {
            const int numero = std::uniform_int_distribution<int>(200, 899)(caso);
            if (fs::exists("/tmp/.X" + std::to_string(numero) + "-lock") ||
                fs::exists("/tmp/.X11-unix/X" + std::to_string(numero)))
                continue;
            if (avvia_xvfb(numero))
                display_ = ":" + std::to_string(numero);
        }
        ASSERT_FALSE(display_.empty()) << "Xvfb did not start: " << (xvfb_ ? xvfb_->errori() : "");
    }

    // Starts Xvfb on `numero`; true once it answers a client.
    bool avvia_xvfb(int numero) {
        if (xvfb_)
            xvfb_->termina(5s);
        // Xvfb writes its display number on this pipe once it is ready.
        int canale[2];
        if (pipe2(canale, O_CLOEXEC) != 0)
            return false;
        prova::opzioni_figlio opzioni;
        opzioni.argomenti = {":" + std::to_string(numero), "-displayfd", std::to_string(canale[1]), "-screen",
                             "0", "640x480x24", "-nolisten", "tcp",
                             // No reset when the last client leaves: a client that connects
                             // during a reset can be turned away.
                             "-noreset"};
        opzioni.descrittore_ereditato = canale[1];
        xvfb_ = std::make_unique<prova::processo_figlio>(strumenti_["Xvfb"], opzioni);
        close(canale[1]);

        std::string letto;
        const auto scadenza = std::chrono::steady_clock::now() + 20s;
        while (letto.find('\n') == std::string::npos && std::chrono::steady_clock::now() < scadenza) {
            pollfd attesa{canale[0], POLLIN, 0};
            if (poll(&attesa, 1, 200) <= 0)
                continue;
            char c[16];
            const ssize_t n = read(canale[0], c, sizeof c);
            if (n <= 0)
                break;  // Xvfb ended without a display
            letto.append(c, std::size_t(n));
        }
        close(canale[0]);
        if (letto.find('\n') == std::string::npos)
            return false;

        prova::opzioni_figlio cliente;
        cliente.argomenti = {"getdisplaygeometry"};
        cliente.display = ":" + std::to_string(numero);
        return prova::esegui(strumenti_["xdotool"], cliente, 20s).stato == 0;
    }

    void TearDown() override {
        if (xvfb_)
            xvfb_->termina(5s);
    }

    prova::esito_figlio strumento(const std::string& nome, std::vector<std::string> argomenti) {
        prova::opzioni_figlio opzioni;
        opzioni.argomenti = std::move(argomenti);
        opzioni.display = display_;
        return prova::esegui(strumenti_.at(nome), opzioni, 20s);
    }

    // The program's window, waiting for it at most `limite`.
    std::optional<std::string> cerca_finestra(std::chrono::milliseconds limite) {
        const auto scadenza = std::chrono::steady_clock::now() + limite;
        do {
            const auto esito = strumento("xdotool", {"search", "--name", "^" + titolo + "$"});
            if (esito.stato == 0 && !esito.uscita.empty())
                return esito.uscita.substr(0, esito.uscita.find('\n'));
            std::this_thread::sleep_for(100ms);
        } while (std::chrono::steady_clock::now() < scadenza);
        return std::nullopt;
    }

    std::map<std::string, std::string> strumenti_;
    std::unique_ptr<prova::processo_figlio> xvfb_;
    std::string display_;
};

TEST_F(WindowOnXvfb, PreviewShowsTheLabelInDarkTextOnALightGreyForm) {
    prova::opzioni_figlio opzioni;
    opzioni.argomenti = {"5"};
    opzioni.display = display_;
    prova::processo_figlio anteprima(SCENARIO_ANTEPRIMA, opzioni);

    const auto id = cerca_finestra(10s);
    ASSERT_TRUE(id.has_value()) << "no window titled \"" << titolo << "\" on " << display_ << ": "
                                << anteprima.errori() << "\nXvfb: " << xvfb_->errori();

    // Where the window manager (here: none) put it, and its client size.
    const auto geometria = strumento("xdotool", {"getwindowgeometry", "--shell", *id});
    ASSERT_EQ(geometria.stato, 0) << geometria.errori;
    std::map<std::string, int> valori;
    std::istringstream righe(geometria.uscita);
    for (std::string riga; std::getline(righe, riga);) {
        const auto uguale = riga.find('=');
        if (uguale != std::string::npos)
            valori[riga.substr(0, uguale)] = std::atoi(riga.c_str() + uguale + 1);
    }
    const rettangolo finestra{valori["X"], valori["Y"], valori["WIDTH"], valori["HEIGHT"]};
    EXPECT_EQ(finestra.larghezza, 280);
    EXPECT_EQ(finestra.altezza, 179);

    const fs::path png = fs::path(SCENARIO_CARTELLA_PROVE) / "window_preview.png";
    const fs::path ppm = fs::path(SCENARIO_CARTELLA_PROVE) / "window_preview.ppm";
    ASSERT_EQ(strumento("import", {"-window", "root", png.string()}).stato, 0);
    ASSERT_EQ(strumento("import", {"-window", "root", ppm.string()}).stato, 0);
    const auto schermo = leggi_ppm(ppm);
    std::error_code ec;
    fs::remove(ppm, ec);
    ASSERT_TRUE(schermo.has_value()) << "unreadable screenshot " << ppm;
    ASSERT_LE(finestra.x + finestra.larghezza, schermo->larghezza);
    ASSERT_LE(finestra.y + finestra.altezza, schermo->altezza);

    // Outside the label: only the form's grey. Inside: a word in dark pixels,
    // starting at the label's left edge.
    const rettangolo etichetta{finestra.x + 64, finestra.y + 64, 177, 53};
    int fuori_non_grigi = 0, scuri = 0;
    int scuro_sinistra = schermo->larghezza, scuro_destra = -1;
    for (int y = finestra.y; y < finestra.y + finestra.altezza; ++y) {
        for (int x = finestra.x; x < finestra.x + finestra.larghezza; ++x) {
            if (!etichetta.contiene(x, y)) {
                if (!schermo->grigio_chiaro(x, y))
                    ++fuori_non_grigi;
            } else if (schermo->scuro(x, y)) {
                ++scuri;
                scuro_sinistra = std::min(scuro_sinistra, x);
                scuro_destra = std::max(scuro_destra, x);
            }
        }
    }
    EXPECT_EQ(fuori_non_grigi, 0) << "see " << png;
    EXPECT_GE(scuri, 300) << "see " << png;
    EXPECT_LE(scuro_sinistra, etichetta.x + 8) << "see " << png;
    EXPECT_GE(scuro_destra - scuro_sinistra, 120) << "the whole word, not a letter; see " << png;

    const auto stato = anteprima.attendi(20s);
    ASSERT_TRUE(stato.has_value()) << "window_preview did not end after its 5 seconds";
    EXPECT_EQ(*stato, 0) << anteprima.errori();
    EXPECT_FALSE(cerca_finestra(0ms).has_value()) << "the window stays after the program ended";
}

TEST_F(WindowOnXvfb, ProgramWithADisplayEndsByItselfWithStatusZero) {
    const fs::path cartella = prova::cartella_nuova("con finestra");
    const fs::path programma = cartella / "calvena_roccalba";
    fs::copy_file(SCENARIO_PROGRAMMA, programma);

    prova::opzioni_figlio opzioni;
    opzioni.display = display_;
    opzioni.cartella_lavoro = cartella.parent_path();
    const auto esito = prova::esegui(programma, opzioni, 120s);
    ASSERT_TRUE(esito.stato.has_value()) << "the program did not end by itself";
    EXPECT_EQ(*esito.stato, 0) << esito.errori;
    EXPECT_EQ(esito.errori, "");
    EXPECT_TRUE(fs::exists(cartella / "Calvena_Roccalba_4127_scheda_treno.txt"));
    EXPECT_FALSE(cerca_finestra(0ms).has_value()) << "the window stays after the program ended";

    std::error_code ec;
    fs::remove_all(cartella.parent_path(), ec);
}

}  // namespace
