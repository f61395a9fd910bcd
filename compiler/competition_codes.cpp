#include "compiler/competition_codes.h"

#include <cstddef>

namespace scenario {

namespace {
// Pads the working text so that it always has the 25 characters that count.
constexpr std::string_view riempitivo = "aabbccddeeffgghhiillmmnnoo";
constexpr std::size_t caratteri_contati = 25;

unsigned char minuscola(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 0x20);
    // Accented capitals À..Þ, except the multiplication sign.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
        case 0x8A:
            return 0x9A;  // Š
        case 0x8C:
            return 0x9C;  // Œ
        case 0x8E:
            return 0x9E;  // Ž
        case 0x9F:
            return 0xFF;  // Ÿ
        default:
            return c;
    }
}

// Train number, then scenario name, in lower case, then the filler: the first
// 25 bytes as character codes.
std::string testo_di_lavoro(const stato_scenario& s) {
    std::string t = minuscole_cp1252(s.voci[voce_identita_treno].testo + s.voci[voce_scenario].testo);
    t += riempitivo;
    t.resize(caratteri_contati);
    return t;
}
}  // namespace

std::string minuscole_cp1252(std::string_view testo) {
    std::string r(testo);
    for (char& c : r)
        c = static_cast<char>(minuscola(static_cast<unsigned char>(c)));
    return r;
}

int32_t codice_gara_og(const stato_scenario& s) {
    int32_t somma = 0;
    for (char c : testo_di_lavoro(s))
        somma += static_cast<unsigned char>(c);
    return somma;
}

int32_t codice_gara_st(const stato_scenario& s) {
    const std::string t = testo_di_lavoro(s);
    int32_t somma = 0;
    for (std::size_t p = 0; p < t.size(); ++p)
        somma += int32_t(p + 1) * static_cast<unsigned char>(t[p]);
    return somma;
}

}  // namespace scenario
