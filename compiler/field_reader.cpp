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

// Converts a whole token. The whole token is checked for digits first, so a
// long run of digits followed by a letter is "not a number", not "too wide".
field_reading converti(std::string_view t, int32_t& valore) {
    if (t.empty())
        return field_reading::empty_as_zero;
    bool negativo = false;
    std::size_t i = 0;
    if (t[i] == '+' || t[i] == '-')
        negativo = t[i++] == '-';
    if (i == t.size())
        return field_reading::not_a_number;
    for (std::size_t j = i; j < t.size(); ++j)
        if (t[j] < '0' || t[j] > '9')
            return field_reading::not_a_number;
    int64_t v = 0;
    constexpr int64_t limite = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < t.size(); ++i) {
        v = v * 10 + (t[i] - '0');
        if (v > limite)
            return field_reading::beyond_width;
    }
    if (negativo)
        v = -v;
    if (v > std::numeric_limits<int32_t>::max())
        return field_reading::beyond_width;
    valore = int32_t(v);
    return field_reading::number;
}

bool fits(field_width width, int32_t v) {
    switch (width) {
        case field_width::bits16:
            return v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
        case field_width::bits8:
            return v >= 0 && v <= 255;
        default:
            return true;
    }
}

const char* beyond(field_width width) {
    switch (width) {
        case field_width::bits16:
            return "a number does not fit 16 bits (-32768 to 32767)";
        case field_width::bits8:
            return "a number does not fit 0 to 255";
        default:
            return fuori_32_bit;
    }
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
    field_line_start_ = line_start_;
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
        line_start_ = pos_;
    } else if (c == '\n') {
        ++pos_;
        ++riga_;
        line_start_ = pos_;
    }
}

std::string_view lettore_campi::leggi_tra_virgolette() {
    // At the opening quote. An unterminated quote runs to the end of the source.
    std::size_t inizio = ++pos_;
    while (pos_ < dati_.size() && dati_[pos_] != '"') {
        if (dati_[pos_] == '\n' ||
            (dati_[pos_] == '\r' && (pos_ + 1 >= dati_.size() || dati_[pos_ + 1] != '\n'))) {
            ++riga_;
            line_start_ = pos_ + 1;
        }
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

void lettore_campi::record(std::size_t start, std::size_t end, field_role role, field_width width,
                           field_reading reading, int32_t value, std::string text) {
    if (records_ == nullptr)
        return;
    field_record r;
    r.source = source_;
    r.line = riga_campo_;
    r.offset = start;
    r.first_column = static_cast<int32_t>(start - field_line_start_ + 1);
    r.last_column = static_cast<int32_t>(end - field_line_start_);
    r.raw = std::string(dati_.substr(start, end - start));
    r.text = std::move(text);
    r.value = value;
    r.reading = reading;
    r.width = width;
    r.role = role;
    r.section = section_;
    records_->push_back(std::move(r));
}

// The span of a field as written: from its first byte to the last non-blank
// byte before the comma or line end that closes it (scanned back from `end`).
namespace {
std::size_t trim_end(std::string_view d, std::size_t start, std::size_t end) {
    while (end > start && (d[end - 1] == ' ' || d[end - 1] == '\t' || d[end - 1] == ',' ||
                           d[end - 1] == '\r' || d[end - 1] == '\n'))
        --end;
    return end;
}
}  // namespace

std::string lettore_campi::leggi_campo_testo(field_role role) {
    inizia_campo();
    const std::size_t start = pos_;
    std::string valore;
    if (pos_ < dati_.size() && dati_[pos_] == '"') {
        valore = std::string(leggi_tra_virgolette());
    } else {
        while (pos_ < dati_.size() && dati_[pos_] != ',' && !fine_riga(dati_[pos_]))
            ++pos_;
        valore = std::string(senza_spazi(dati_.substr(start, pos_ - start)));
        consuma_fine_campo();
    }
    if (records_ != nullptr)
        record(start, trim_end(dati_, start, pos_), role, field_width::text, field_reading::text, 0, valore);
    return valore;
}

std::string lettore_campi::leggi_parola_chiave() {
    return leggi_campo_testo(field_role::keyword);
}

std::string lettore_campi::leggi_testo() {
    return leggi_campo_testo(field_role::value);
}

int32_t lettore_campi::leggi_numero(field_width width) {
    inizia_campo();
    const std::size_t start = pos_;
    std::size_t end = 0;
    std::string_view token;
    if (pos_ < dati_.size() && dati_[pos_] == '"') {
        token = senza_spazi(leggi_tra_virgolette());
        end = trim_end(dati_, start, pos_);
    } else {
        while (pos_ < dati_.size() && dati_[pos_] != ',' && !fine_riga(dati_[pos_]) && !spazio(dati_[pos_]))
            ++pos_;
        token = dati_.substr(start, pos_ - start);
        end = pos_;
        salta_spazi();
        consuma_fine_campo();
    }
    int32_t valore = 0;
    field_reading reading = converti(token, valore);
    const bool beyond_32_bits = reading == field_reading::beyond_width;
    if (reading == field_reading::number && !fits(width, valore))
        reading = field_reading::beyond_width;
    record(start, end, field_role::value, width, reading, reading == field_reading::number ? valore : 0, {});
    if (reading == field_reading::beyond_width)
        throw errore_lettura(beyond_32_bits ? fuori_32_bit : beyond(width));
    return reading == field_reading::number ? valore : 0;
}

int32_t lettore_campi::leggi_intero() {
    return leggi_numero(field_width::bits32);
}

int16_t lettore_campi::leggi_intero16() {
    return static_cast<int16_t>(leggi_numero(field_width::bits16));
}

uint8_t lettore_campi::leggi_byte() {
    return static_cast<uint8_t>(leggi_numero(field_width::bits8));
}

}  // namespace scenario
