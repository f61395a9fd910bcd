#include "bench/synthetic_route.h"

#include <cstdio>

namespace scenario::banco {

namespace {

constexpr int metri_blocco = 10000;
constexpr int massimo_gallerie = 80;     // the tunnel list holds 80
constexpr int cartelli_galleria = 30;    // boards and stations share 78 record slots
constexpr int ogni_quanti_stazione = 2;  // a station every 20 km
constexpr int massimo_stazioni = 40;

class testo {
public:
    void riga(const char* contenuto) { (t_ += contenuto) += "\r\n"; }
    template <class... A>
    void riga(const char* formato, A... valori) {
        char buffer[200];
        const int n = std::snprintf(buffer, sizeof buffer, formato, valori...);
        if (n > 0)
            t_.append(buffer, static_cast<std::size_t>(n));
        t_ += "\r\n";
    }
    std::string prendi() { return std::move(t_); }

private:
    std::string t_;
};

// Layout of block k, from its start b = 10000 k (cell offsets in brackets):
//   speed board 100 [3], signal 1000 [21], tunnel-name board 2900 [59],
//   tunnel 3000..3900 [60..77], signal 4200 [85] behind the slowdown's
//   advance point 4800 [97], slowdown 6000 [121] of 500 or 1000 m,
//   signal 7400 [149] after its end, station 8000 with its stop cell [163],
//   signal 9000 [181], abbattimento point 9500 [190].
std::string linea(int blocchi) {
    testo t;
    t.riga("[generale]");
    t.riga("lunghezza percorso,    %d", blocchi * metri_blocco);
    t.riga("progressiva chilometrica uno,   0,   %d,   0", blocchi * metri_blocco);
    t.riga("sfondo uno,   1");
    t.riga("sfondo due,   2");
    t.riga("sfondo tre,   3");
    t.riga("ripetizione segnali 4 codici,   100,   300");
    t.riga("[curve]");
    for (int k = 0; k < blocchi; ++k) {
        const int b = k * metri_blocco;
        t.riga("%s,   %d,   %d", k % 2 ? "curvas4" : "curvad4", b + 500, 800);
        t.riga("%s,   %d,   %d", k % 3 ? "curvad5" : "curvas6", b + 5500, 1000);
    }
    t.riga("[pendenze]");
    for (int k = 0; k < blocchi; ++k) {
        const int b = k * metri_blocco;
        for (int q = 0; q < 4; ++q)
            t.riga("pendenza,   %d,   %d", b + q * 2500, (k * 7 + q * 11) % 41 - 20);
    }
    t.riga("[montagne]");
    for (int k = 0; k < blocchi && k < massimo_gallerie; ++k) {
        const int b = k * metri_blocco;
        t.riga("montagna,   %d,   %d,   %d", b + 3000, b + 3900, k % 2 ? 1 : 12);
    }
    t.riga("[cartelli]");
    for (int k = 0; k < blocchi; ++k) {
        const int b = k * metri_blocco;
        t.riga("indicatori_vmax,   %d,   75, 80, 80, 0,   ,   ,   , 0", b + 100);
        if (k < cartelli_galleria)
            t.riga("cartello_indicatore,   %d,   (Galleria %d) (900)", b + 2900, k + 1);
    }
    t.riga("[fine]");
    return t.prendi();
}

std::string corsa(int blocchi) {
    testo t;
    t.riga("[generale]");
    t.riga("numero vetture,    5");
    t.riga("percentuale massa frenata,    110");
    t.riga("sabbia,    300");
    t.riga("orologio,    8              15            0 ");
    t.riga("[aderenze]");
    for (int k = 0; k < blocchi; ++k) {
        t.riga("aderenza,   %d,    100", k * metri_blocco);
        t.riga("aderenza,   %d,    %d", k * metri_blocco + 5000, 80 + k % 20);
    }
    t.riga("[vel_limite]");
    for (int k = 0; k < blocchi; ++k) {
        t.riga("velocita,   %d,    120", k * metri_blocco);
        t.riga("velocita,   %d,    %d", k * metri_blocco + 5000, 80 + 5 * (k % 5));
    }
    t.riga("[stazioni]");
    int stazioni = 0;
    for (int k = 0; k < blocchi && stazioni < massimo_stazioni; k += ogni_quanti_stazione, ++stazioni) {
        const int b = k * metri_blocco;
        // 1000 s from one station to the next (20 km): time enough at the permitted speed.
        const int secondi = 8 * 3600 + 15 * 60 + k * 500;
        t.riga("stazione,   %d, 22,  400,  0, 0, 0,  0,0,0,  4,1,1,   60,  %d,%d, %d, LOCALITA %d", b + 8000,
               secondi / 3600, secondi / 60 % 60, secondi % 60, stazioni + 1);
    }
    t.riga("[rallentamenti]");
    for (int k = 0; k < blocchi; ++k)
        t.riga("rallentamento,   %d,    %d,  %d, 0,  %d,  0", k * metri_blocco + 6000, k % 2 ? 30 : 60,
               k % 3 ? 500 : 1000, k % 2);
    t.riga("[segnali]");
    for (int k = 0; k < blocchi; ++k) {
        const int b = k * metri_blocco;
        t.riga("segnale,   %d,   1, 4, 1,  0, 0,    0,  0,0,0, 0", b + 1000);
        t.riga("segnale,   %d,   2, 3, 3,  0, 0,    0,  0,0,0, 245", b + 4200);
        t.riga("segnale,   %d,   1, 5, 1,  0, 0,    0,  0,0,0, 0", b + 7400);
        t.riga("segnale,   %d,   2, 2, 1,  0, 0,    0,  0,0,0, 250", b + 9000);
    }
    t.riga("[codici]");
    for (int k = 0; k < blocchi; ++k)
        t.riga("abbattimento,   %d,    150", k * metri_blocco + 9500);
    t.riga("[fine]");
    return t.prendi();
}

}  // namespace

sorgenti_sintetiche percorso_sintetico(int blocchi) {
    return {linea(blocchi), corsa(blocchi)};
}

}  // namespace scenario::banco
