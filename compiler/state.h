// The scenario state: everything the compiler reads, builds and writes out.
// One plain struct, owned by the form and handed to every compiler function.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace scenario {

// One 50 m route cell. Field order and widths are those of the cell file.
struct cella {
    uint8_t tipo = 0;  // what stands in the cell; see the kind constants below
    int16_t dato1 = 0;
    int16_t dato2 = 0;
    int16_t dato3 = 0;
    int16_t dato4 = 0;
    uint8_t dato5 = 0;     // signal time value
    uint8_t dato6 = 0;     // approach marker in front of a signal or station
    uint8_t galleria = 0;  // tunnel class, 0 = open air
    uint8_t velocita = 0;  // speed limit, km/h divided by 5
    uint8_t pendenza = 0;  // gradient per mille plus 100
    uint8_t aderenza = 0;  // adhesion
};

// Cell kinds (`cella::tipo`).
namespace tipo_cella {
inline constexpr uint8_t libera = 0;
inline constexpr uint8_t segnale = 1;
inline constexpr uint8_t fine_rallentamento = 2;
inline constexpr uint8_t inizio_rallentamento = 3;
inline constexpr uint8_t avviso_rallentamento = 4;
inline constexpr uint8_t approccio_rallentamento = 5;
inline constexpr uint8_t indicatore_vmax = 6;
inline constexpr uint8_t fermata = 10;
inline constexpr uint8_t lampada_galleria = 11;
inline constexpr uint8_t segno = 12;  // sweep mark, or abbattimento point with a value
inline constexpr uint8_t abbattimento_senza_valore = 13;
inline constexpr uint8_t cartello_galleria = 14;
}  // namespace tipo_cella

// A cell is free when nothing stands in it but, at most, a tunnel lamp mark.
inline bool cella_libera(const cella& c) {
    return c.tipo == tipo_cella::libera || c.tipo == tipo_cella::lampada_galleria;
}

// One record of `voci`. Field order and widths are those of the run file.
struct voce {
    uint8_t tipo = 0;
    int32_t valore1 = 0;
    int32_t valore2 = 0;
    int32_t valore3 = 0;
    uint8_t byte1 = 0;
    std::string testo;  // Windows-1252 bytes, one per character
    int16_t intero1 = 0;
    int16_t intero2 = 0;
    int16_t intero3 = 0;
    int16_t intero4 = 0;
    int16_t intero5 = 0;
    uint8_t byte2 = 0;
    uint8_t byte3 = 0;
    uint8_t byte4 = 0;
    uint8_t byte5 = 0;
    int32_t valore4 = 0;
};

inline constexpr int numero_voci = 87;  // slots 0..86
inline constexpr int voce_progressiva_tre = 81;
inline constexpr int voce_progressiva_due = 82;
inline constexpr int voce_progressiva_uno = 83;
inline constexpr int voce_treno = 84;
inline constexpr int voce_scenario = 85;
inline constexpr int voce_identita_treno = 86;
inline constexpr int prima_voce_cartelli = 80;  // tunnel-name boards take 80, 79, ... downward

inline constexpr int massimo_montagne = 80;  // tunnel slots 1..80

// Metres of route after the line: the cells and the track plan run this far
// beyond the route length.
inline constexpr int32_t margine_percorso = 7000;
// The cell the compile stamps the scenario's identity into (dato1 and dato2).
inline constexpr std::size_t cella_timbrata = 1;

// A value of the track plan: never assigned, a 16-bit integer or a double.
// The tag numbers are the ones the line file stores.
struct valore_tracciato {
    enum class etichetta : int16_t { vuoto = 0, intero = 2, reale = 5 };
    etichetta tipo = etichetta::vuoto;
    int16_t intero = 0;
    double reale = 0.0;

    static valore_tracciato da_intero(int16_t v) { return {etichetta::intero, v, 0.0}; }
    static valore_tracciato da_reale(double v) { return {etichetta::reale, 0, v}; }
    // The numeric value whatever the tag (an empty value counts as 0).
    double numero() const {
        return tipo == etichetta::reale ? reale : tipo == etichetta::intero ? double(intero) : 0.0;
    }
};

// A run of plan steps as the line reader made them: points `first` through
// `last`, each from the two before it, straight or turning by `curvature`.
struct plan_run {
    int32_t first = 0;
    int32_t last = 0;
    bool curved = false;
    double curvature = 0.0;
};

// The per-metre track plan: points 0..ultimo_punto by coordinates 0 (x) and 1 (y).
// Stored with the point index varying fastest, the order of the line file.
struct tracciato_linea {
    int32_t ultimo_punto = -1;  // -1: the plan does not exist
    std::vector<valore_tracciato> valori;

    // The line reader also keeps how it made the points: points 0 and 1 set
    // (`started`), then the runs of steps from point 2 on, in order. With
    // `keep_points` false it keeps only that, and `valori` stays empty: the
    // line file is then made from the runs, each point computed again as it
    // is written (the program's run needs no 1.5 MB plan in memory).
    bool keep_points = true;
    bool started = false;
    std::vector<plan_run> runs;

    bool esiste() const { return ultimo_punto >= 0; }
    std::size_t punti() const { return std::size_t(ultimo_punto + 1); }
    // Drops everything and makes points 0..ultimo, every value empty.
    void dimensiona(int32_t ultimo) {
        ultimo_punto = ultimo;
        valori.assign(2 * punti(), valore_tracciato{});
        started = false;
        runs.clear();
    }
    valore_tracciato& at(int32_t punto, int coordinata) {
        return valori[std::size_t(coordinata) * punti() + std::size_t(punto)];
    }
    const valore_tracciato& at(int32_t punto, int coordinata) const {
        return valori[std::size_t(coordinata) * punti() + std::size_t(punto)];
    }
};

// Which text source a diagnostic points into.
enum class sorgente_testo : uint8_t { linea, corsa };

struct stato_scenario {
    // Scenario identity, set at start-up.
    std::string nome_scenario;
    std::string numero_treno;

    int32_t compila_linea = 0;  // nonzero: build the track plan and write the line file

    std::vector<cella> celle;  // indexes 0..n_celle; empty until the route length is read
    int32_t n_celle = 0;
    int32_t lunghezza_estesa = 0;
    tracciato_linea tracciato;  // exists only when compila_linea is nonzero

    std::array<voce, numero_voci> voci{};

    std::array<int32_t, massimo_montagne + 1> montagna_inizio{};
    std::array<int32_t, massimo_montagne + 1> montagna_fine{};
    int32_t n_montagne = 0;

    std::string campo;  // the keyword field last read

    int32_t codice_errore = 0;
    int32_t posizione_errore = 0;

    bool celle_esistono() const { return !celle.empty(); }
};

}  // namespace scenario
