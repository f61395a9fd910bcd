// A streaming JSON writer: values go out as they are produced, through a
// buffer, so a dump of a million plan points needs no big string in memory.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::strumento {

// `testo` (UTF-8) as a JSON string literal with its quotes. Invalid UTF-8
// becomes U+FFFD, so the output is always valid JSON.
std::string stringa_json(std::string_view testo);

class scrittore_json {
public:
    explicit scrittore_json(std::ostream& out) : out_(out) {}
    ~scrittore_json() { svuota(); }
    scrittore_json(const scrittore_json&) = delete;
    scrittore_json& operator=(const scrittore_json&) = delete;

    // Containers. `in_riga`: all elements on one line (for records in long
    // lists); containers inside an in-line one are in-line too.
    void inizia_oggetto(bool in_riga = false) { apri('{', true, in_riga); }
    void chiudi_oggetto() { chiudi('}'); }
    void inizia_lista(bool in_riga = false) { apri('[', false, in_riga); }
    void chiudi_lista() { chiudi(']'); }

    void chiave(std::string_view nome);
    void testo(std::string_view utf8);
    void intero(int64_t v);
    // Shortest form that reads back to the same double, always with a decimal
    // point or an exponent; null for values JSON cannot hold (NaN, infinities).
    void reale(double v);
    void booleano(bool v);
    void nullo();

    // Key and value in one call.
    void campo(std::string_view nome, std::string_view utf8) {
        chiave(nome);
        testo(utf8);
    }
    void campo(std::string_view nome, const char* utf8) {
        chiave(nome);
        testo(utf8);
    }
    void campo(std::string_view nome, int64_t v) {
        chiave(nome);
        intero(v);
    }
    void campo(std::string_view nome, int32_t v) {
        chiave(nome);
        intero(v);
    }
    void campo(std::string_view nome, bool v) {
        chiave(nome);
        booleano(v);
    }

    // Writes the buffered text to the stream (the destructor does it too).
    void svuota();

private:
    struct livello {
        bool oggetto;
        bool in_riga;
        bool vuoto = true;
    };
    void apri(char c, bool oggetto, bool in_riga);
    void chiudi(char c);
    void prima_del_valore();
    void scrivi(std::string_view t);

    std::ostream& out_;
    std::string buffer_;
    std::vector<livello> livelli_;
    bool dopo_chiave_ = false;
    bool radice_scritta_ = false;
};

}  // namespace scenario::strumento
