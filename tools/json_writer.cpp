#include "tools/json_writer.h"

#include "tools/text_encoding.h"

#include <charconv>
#include <cmath>

namespace scenario::strumento {

namespace {
constexpr std::size_t soglia_buffer = 1 << 16;
}

std::string stringa_json(std::string_view testo) {
    const std::string sicuro = utf8_sicuro(testo);
    std::string out;
    out.reserve(sicuro.size() + 2);
    out.push_back('"');
    for (char ch : sicuro) {
        const auto b = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (b < 0x20 || b == 0x7F) {
                    static constexpr char cifre[] = "0123456789abcdef";
                    out += "\\u00";
                    out.push_back(cifre[b >> 4]);
                    out.push_back(cifre[b & 0xF]);
                } else {
                    out.push_back(ch);
                }
        }
    }
    out.push_back('"');
    return out;
}

void scrittore_json::scrivi(std::string_view t) {
    buffer_.append(t);
    if (buffer_.size() >= soglia_buffer)
        svuota();
}

void scrittore_json::svuota() {
    if (buffer_.empty())
        return;
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

void scrittore_json::prima_del_valore() {
    if (dopo_chiave_) {
        dopo_chiave_ = false;
        return;
    }
    if (livelli_.empty()) {
        if (radice_scritta_)
            scrivi("\n");
        radice_scritta_ = true;
        return;
    }
    livello& l = livelli_.back();
    if (!l.vuoto)
        scrivi(",");
    if (l.in_riga) {
        if (!l.vuoto)
            scrivi(" ");
    } else {
        scrivi("\n");
        scrivi(std::string(2 * livelli_.size(), ' '));
    }
    l.vuoto = false;
}

void scrittore_json::apri(char c, bool oggetto, bool in_riga) {
    prima_del_valore();
    const bool dentro_riga = !livelli_.empty() && livelli_.back().in_riga;
    livelli_.push_back({oggetto, in_riga || dentro_riga});
    scrivi(std::string_view(&c, 1));
}

void scrittore_json::chiudi(char c) {
    if (livelli_.empty())
        return;
    const livello l = livelli_.back();
    livelli_.pop_back();
    if (!l.vuoto && !l.in_riga) {
        scrivi("\n");
        scrivi(std::string(2 * livelli_.size(), ' '));
    }
    scrivi(std::string_view(&c, 1));
    if (livelli_.empty())
        scrivi("\n");
}

void scrittore_json::chiave(std::string_view nome) {
    prima_del_valore();
    scrivi(stringa_json(nome));
    scrivi(": ");
    dopo_chiave_ = true;
}

void scrittore_json::testo(std::string_view utf8) {
    prima_del_valore();
    scrivi(stringa_json(utf8));
}

void scrittore_json::intero(int64_t v) {
    prima_del_valore();
    char cifre[24];
    const auto r = std::to_chars(cifre, cifre + sizeof cifre, v);
    scrivi(std::string_view(cifre, static_cast<std::size_t>(r.ptr - cifre)));
}

void scrittore_json::reale(double v) {
    if (!std::isfinite(v)) {
        nullo();
        return;
    }
    prima_del_valore();
    char cifre[40];
    const auto r = std::to_chars(cifre, cifre + sizeof cifre, v);
    const std::string_view t(cifre, static_cast<std::size_t>(r.ptr - cifre));
    scrivi(t);
    if (t.find_first_of(".e") == std::string_view::npos)
        scrivi(".0");
}

void scrittore_json::booleano(bool v) {
    prima_del_valore();
    scrivi(v ? "true" : "false");
}

void scrittore_json::nullo() {
    prima_del_valore();
    scrivi("null");
}

}  // namespace scenario::strumento
