#include "compiler/compiled_files.h"

#include "common/file_replace.h"
#include "compiler/little_endian.h"
#include "compiler/source_store.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <utility>

namespace scenario {

namespace {

// ---- encoding ---------------------------------------------------------------

constexpr std::size_t byte_cella = 15;
constexpr std::size_t byte_voce_senza_testo = 34;
constexpr std::size_t massima_lunghezza_testo = std::numeric_limits<int16_t>::max();

using etichetta = valore_tracciato::etichetta;

std::size_t lunghezza_testo(const std::string& t) {
    return std::min(t.size(), massima_lunghezza_testo);
}

// Stores little-endian fields one after the other into a buffer made of the
// exact size beforehand (it still grows if a size was reckoned too small).
class scrittore {
public:
    explicit scrittore(std::size_t dimensione) : dati_(dimensione, '\0') {}

    void u8(uint8_t v) { metti_le<1>(spazio(1), v); }
    void i16(int16_t v) { metti_le<2>(spazio(2), static_cast<uint16_t>(v)); }
    void i32(int32_t v) { metti_le<4>(spazio(4), static_cast<uint32_t>(v)); }
    void f64(double v) { metti_le<8>(spazio(8), std::bit_cast<uint64_t>(v)); }

    // The next `n` bytes, for a group of fields stored at once.
    char* spazio(std::size_t n) {
        if (dati_.size() - pos_ < n)
            cresci(n);
        char* p = dati_.data() + pos_;
        pos_ += n;
        return p;
    }

    // A 16-bit byte count, then the bytes as stored. The readers never store
    // a text the count cannot hold; should one arrive anyway it is cut to
    // 32767 bytes so the count and the bytes written always agree.
    void testo(const std::string& t) {
        const std::size_t n = lunghezza_testo(t);
        i16(static_cast<int16_t>(n));
        char* p = spazio(n);
        for (std::size_t i = 0; i < n; ++i)
            p[i] = t[i];
    }

    std::string prendi() {
        dati_.resize(pos_);
        return std::move(dati_);
    }

private:
    void cresci(std::size_t n);

    std::string dati_;
    std::size_t pos_ = 0;
};

void scrittore::cresci(std::size_t n) {
    dati_.resize(std::max(2 * dati_.size(), pos_ + n));
}

// ---- decoding ---------------------------------------------------------------

// Reads little-endian fields; a read past the end fails with the offset of
// the field that did not fit.
class lettore {
public:
    explicit lettore(std::string_view dati) : dati_(dati) {}

    std::size_t posizione() const { return pos_; }
    std::size_t restanti() const { return dati_.size() - pos_; }
    bool fine() const { return pos_ >= dati_.size(); }

    bool u8(uint8_t& v) {
        uint64_t x = 0;
        if (!intero(x, 1))
            return false;
        v = static_cast<uint8_t>(x);
        return true;
    }
    bool i16(int16_t& v) {
        uint64_t x = 0;
        if (!intero(x, 2))
            return false;
        v = static_cast<int16_t>(static_cast<uint16_t>(x));
        return true;
    }
    bool i32(int32_t& v) {
        uint64_t x = 0;
        if (!intero(x, 4))
            return false;
        v = static_cast<int32_t>(static_cast<uint32_t>(x));
        return true;
    }
    bool f64(double& v) {
        uint64_t x = 0;
        if (!intero(x, 8))
            return false;
        v = std::bit_cast<double>(x);
        return true;
    }
    bool byte(std::size_t n, std::string& t) {
        if (restanti() < n)
            return false;
        t.assign(dati_.substr(pos_, n));
        pos_ += n;
        return true;
    }

private:
    bool intero(uint64_t& v, int byte) {
        if (restanti() < static_cast<std::size_t>(byte))
            return false;
        v = 0;
        for (int b = 0; b < byte; ++b)
            v |= uint64_t{static_cast<unsigned char>(dati_[pos_ + static_cast<std::size_t>(b)])} << (8 * b);
        pos_ += static_cast<std::size_t>(byte);
        return true;
    }

    std::string_view dati_;
    std::size_t pos_ = 0;
};

failure<errore_decodifica> fallito(std::size_t offset, std::string messaggio) {
    return failure{errore_decodifica{offset, std::move(messaggio)}};
}

failure<errore_decodifica> troncato(std::size_t offset, const char* cosa) {
    return fallito(offset, std::string("data ends inside ") + cosa);
}

}  // namespace

std::string codifica_voci(const std::array<voce, numero_voci>& voci) {
    std::size_t dimensione = 0;
    for (const voce& v : voci)
        dimensione += byte_voce_senza_testo + lunghezza_testo(v.testo);
    scrittore w(dimensione);
    for (const voce& v : voci) {
        w.u8(v.tipo);
        w.i32(v.valore1);
        w.i32(v.valore2);
        w.i32(v.valore3);
        w.u8(v.byte1);
        w.testo(v.testo);
        w.i16(v.intero1);
        w.i16(v.intero2);
        w.i16(v.intero3);
        w.i16(v.intero4);
        w.i16(v.intero5);
        w.u8(v.byte2);
        w.u8(v.byte3);
        w.u8(v.byte4);
        w.u8(v.byte5);
        w.i32(v.valore4);
    }
    return w.prendi();
}

std::string codifica_celle(const std::vector<cella>& celle) {
    scrittore w(byte_cella * celle.size());
    for (const cella& c : celle) {
        w.u8(c.tipo);
        w.i16(c.dato1);
        w.i16(c.dato2);
        w.i16(c.dato3);
        w.i16(c.dato4);
        w.u8(c.dato5);
        w.u8(c.dato6);
        w.u8(c.galleria);
        w.u8(c.velocita);
        w.u8(c.pendenza);
        w.u8(c.aderenza);
    }
    return w.prendi();
}

result<void, file_failure> scrivi_file_compilati(const stato_scenario& s,
                                                 const std::filesystem::path& cartella) {
    if (s.compila_linea != 0) {
        if (auto linea = replace_file_in_pieces(
                percorso_in(cartella, nome_file_linea_compilato(s.nome_scenario)),
                [&s](const piece_writer& write) { encode_plan_in_pieces(s.tracciato, write); });
            !linea)
            return linea;
    }
    if (auto corsa =
            replace_file(percorso_in(cartella, nome_file_corsa_compilato(s.nome_scenario, s.numero_treno)),
                         codifica_voci(s.voci));
        !corsa)
        return corsa;
    return replace_file(percorso_in(cartella, nome_file_celle_compilato(s.nome_scenario, s.numero_treno)),
                        codifica_celle(s.celle));
}

result<void, errore_decodifica> decodifica_tracciato(std::string_view dati, tracciato_linea& t) {
    lettore r(dati);
    std::vector<valore_tracciato> valori;
    while (!r.fine()) {
        const std::size_t inizio = r.posizione();
        int16_t tag = 0;
        if (!r.i16(tag))
            return troncato(inizio, "a value tag");
        switch (static_cast<etichetta>(tag)) {
            case etichetta::vuoto:
                valori.push_back({});
                break;
            case etichetta::intero: {
                int16_t v = 0;
                if (!r.i16(v))
                    return troncato(inizio, "an integer value");
                valori.push_back(valore_tracciato::da_intero(v));
                break;
            }
            case etichetta::reale: {
                double v = 0.0;
                if (!r.f64(v))
                    return troncato(inizio, "a floating value");
                valori.push_back(valore_tracciato::da_reale(v));
                break;
            }
            default:
                return fallito(inizio, "unknown value tag " + std::to_string(tag));
        }
    }
    if (valori.size() % 2 != 0)
        return fallito(dati.size(), "odd number of values: the x and y halves differ in length");

    tracciato_linea letto;
    letto.ultimo_punto = static_cast<int32_t>(valori.size() / 2) - 1;
    letto.valori = std::move(valori);
    if (!letto.esiste())
        letto.valori.clear();
    t = std::move(letto);
    return {};
}

result<void, errore_decodifica> decodifica_voci(std::string_view dati, std::array<voce, numero_voci>& voci) {
    lettore r(dati);
    std::array<voce, numero_voci> letti{};
    for (int indice = 0; indice < numero_voci; ++indice) {
        voce& v = letti[static_cast<std::size_t>(indice)];
        const std::size_t inizio = r.posizione();
        const std::string quale = "record " + std::to_string(indice);
        int16_t lunghezza = 0;
        if (!r.u8(v.tipo) || !r.i32(v.valore1) || !r.i32(v.valore2) || !r.i32(v.valore3) || !r.u8(v.byte1))
            return troncato(inizio, quale.c_str());
        const std::size_t dove_lunghezza = r.posizione();
        if (!r.i16(lunghezza))
            return troncato(inizio, quale.c_str());
        if (lunghezza < 0)
            return fallito(dove_lunghezza, quale + ": negative text length " + std::to_string(lunghezza));
        if (!r.byte(static_cast<std::size_t>(lunghezza), v.testo))
            return fallito(dove_lunghezza, quale + ": text length " + std::to_string(lunghezza) +
                                               " runs past the end of the data");
        if (!r.i16(v.intero1) || !r.i16(v.intero2) || !r.i16(v.intero3) || !r.i16(v.intero4) ||
            !r.i16(v.intero5) || !r.u8(v.byte2) || !r.u8(v.byte3) || !r.u8(v.byte4) || !r.u8(v.byte5) ||
            !r.i32(v.valore4))
            return troncato(inizio, quale.c_str());
    }
    if (!r.fine())
        return fallito(r.posizione(), std::to_string(r.restanti()) + " bytes after the last record");
    voci = std::move(letti);
    return {};
}

result<void, errore_decodifica> decodifica_celle(std::string_view dati, std::vector<cella>& celle) {
    const std::size_t resto = dati.size() % byte_cella;
    if (resto != 0)
        return troncato(dati.size() - resto, "a cell record");
    lettore r(dati);
    std::vector<cella> letti(dati.size() / byte_cella);
    for (cella& c : letti) {
        // The size has been checked: every field is there.
        r.u8(c.tipo);
        r.i16(c.dato1);
        r.i16(c.dato2);
        r.i16(c.dato3);
        r.i16(c.dato4);
        r.u8(c.dato5);
        r.u8(c.dato6);
        r.u8(c.galleria);
        r.u8(c.velocita);
        r.u8(c.pendenza);
        r.u8(c.aderenza);
    }
    celle = std::move(letti);
    return {};
}

}  // namespace scenario
