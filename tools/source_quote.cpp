#include "tools/source_quote.h"

#include <charconv>

namespace scenario::strumento {

namespace {
std::string_view senza_spazi(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}
}  // namespace

righe_testo::righe_testo(std::string_view testo) : testo_(testo) {
    inizi_.push_back(0);
    for (std::size_t i = 0; i < testo.size(); ++i) {
        if (testo[i] == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n')
            ++i;
        if (testo[i] == '\r' || testo[i] == '\n')
            inizi_.push_back(i + 1);
    }
}

std::string_view righe_testo::riga(int32_t numero) const {
    if (numero < 1 || static_cast<std::size_t>(numero) > inizi_.size())
        return {};
    const std::size_t inizio = inizi_[static_cast<std::size_t>(numero - 1)];
    std::size_t fine = inizio;
    while (fine < testo_.size() && testo_[fine] != '\r' && testo_[fine] != '\n')
        ++fine;
    return testo_.substr(inizio, fine - inizio);
}

std::vector<std::string_view> campi_riga(std::string_view riga) {
    std::vector<std::string_view> campi;
    for (;;) {
        const std::size_t virgola = riga.find(',');
        campi.push_back(senza_spazi(riga.substr(0, virgola)));
        if (virgola == std::string_view::npos)
            return campi;
        riga.remove_prefix(virgola + 1);
    }
}

std::optional<int32_t> numero_scritto(std::string_view campo) {
    if (!campo.empty() && campo.front() == '+') {
        campo.remove_prefix(1);
        if (!campo.empty() && campo.front() == '-')
            return std::nullopt;
    }
    int32_t valore = 0;
    const auto [fine, errore] = std::from_chars(campo.data(), campo.data() + campo.size(), valore);
    if (campo.empty() || errore != std::errc{} || fine != campo.data() + campo.size())
        return std::nullopt;
    return valore;
}

}  // namespace scenario::strumento
