#include "compiler/field_reader.h"

#include <limits>

namespace scenario {

namespace {
constexpr const char* fuori_32_bit = "a number lies outside the 32-bit range (-2147483648 to 2147483647)";

bool spazio(char c) {
    return c == ' ' || c == '\t';
}
bool fine_riga(char c) {
    return c == '\r' || c == '\n';
}

// Converts a whole token; false when it is not a number. Throws when it is a
// number outside 32 bits. The whole token is checked for digits first, so a
// long run of digits followed by a letter is "not a number", not "too wide".
bool converti(std::string_view t, int32_t& valore) {
    bool negativo = false;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negativo = t[i++] == '-';
    if (i == t.size())
        return false;
    for (std::size_t j = i; j < t.size(); ++j)
        if (t[j] < '0' || t[j] > '9')
            return false;
    int64_t v = 0;
    constexpr int64_t limite = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < t.size(); ++i) {
        v = v * 10 + (t[i] - '0');
        if (v > limite)
            throw errore_lettura(fuori_32_bit);
    }
    if (negativo)
        v = -v;
    if (v > std::numeric_limits<int32_t>::max())
        throw errore_lettura(fuori_32_bit);
    valore = int32_t(v);
    return true;
}

std::string_view senza_spazi(std::string_view t) {
    while (!t.empty() && spazio(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && spazio(t.back()))
        t.remove_suffix(1);
    return t;
}
}  // namespace

void lettore_campi::salta_spazi() {
    while (pos_ < dati_.size() && spazio(dati_[pos_]))
        ++pos_;
}

void lettore_campi::inizia_campo() {
    if (fine())
        throw errore_lettura("the file ends before the values of this line are complete");
    salta_spazi();
    riga_campo_ = riga_;
}

void lettore_campi::consuma_fine_campo() {
    if (pos_ >= dati_.size())
        return;
    char c = dati_[pos_];
    if (c == ',') {
        ++pos_;
    } else if (c == '\r') {
        ++pos_;
        if (pos_ < dati_.size() && dati_[pos_] == '\n')
            ++pos_;
        ++riga_;
    } else if (c == '\n') {
        ++pos_;
        ++riga_;
    }
}

std::string_view lettore_campi::leggi_tra_virgolette() {
    // At the opening quote. An unterminated quote runs to the end of the source.
    std::size_t inizio = ++pos_;
    while (pos_ < dati_.size() && dati_[pos_] != '"') {
        if (dati_[pos_] == '\n' ||
            (dati_[pos_] == '\r' && (pos_ + 1 >= dati_.size() || dati_[pos_ + 1] != '\n')))
            ++riga_;
        ++pos_;
    }
    std::string_view dentro = dati_.substr(inizio, pos_ - inizio);
    if (pos_ < dati_.size())
        ++pos_;  // closing quote
    while (pos_ < dati_.size() && dati_[pos_] != ',' && !fine_riga(dati_[pos_]))
        ++pos_;
    consuma_fine_campo();
    return dentro;
}

std::string lettore_campi::leggi_testo() {
    inizia_campo();
    if (pos_ < dati_.size() && dati_[pos_] == '"')
        return std::string(leggi_tra_virgolette());
    std::size_t inizio = pos_;
    while (pos_ < dati_.size() && dati_[pos_] != ',' && !fine_riga(dati_[pos_]))
        ++pos_;
    std::string_view t = senza_spazi(dati_.substr(inizio, pos_ - inizio));
    consuma_fine_campo();
    return std::string(t);
}

int32_t lettore_campi::leggi_intero() {
    inizia_campo();
    std::string_view token;
    if (pos_ < dati_.size() && dati_[pos_] == '"') {
        token = senza_spazi(leggi_tra_virgolette());
    } else {
        std::size_t inizio = pos_;
        while (pos_ < dati_.size() && dati_[pos_] != ',' && !fine_riga(dati_[pos_]) && !spazio(dati_[pos_]))
            ++pos_;
        token = dati_.substr(inizio, pos_ - inizio);
        salta_spazi();
        consuma_fine_campo();
    }
    int32_t valore = 0;
    if (!converti(token, valore))
        return 0;
    return valore;
}

int16_t lettore_campi::leggi_intero16() {
    int32_t v = leggi_intero();
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        throw errore_lettura("a number does not fit 16 bits (-32768 to 32767)");
    return int16_t(v);
}

uint8_t lettore_campi::leggi_byte() {
    int32_t v = leggi_intero();
    if (v < 0 || v > 255)
        throw errore_lettura("a number does not fit 0 to 255");
    return uint8_t(v);
}

}  // namespace scenario
