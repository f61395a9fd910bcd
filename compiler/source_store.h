// Where the compiler finds its two text sources, and how it deletes them once
// read. On disk for the program; in memory for tests, fuzzers and tools that
// must not touch their input files.
#pragma once

#include "compiler/state.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace scenario {

class archivio_sorgenti {
public:
    virtual ~archivio_sorgenti() = default;
    virtual bool esiste(sorgente_testo s) const = 0;
    // The whole content; nothing when it cannot be read.
    virtual std::optional<std::string> leggi(sorgente_testo s) = 0;
    // Removes the source; a source that is already gone is no error.
    virtual void elimina(sorgente_testo s) = 0;
};

// The sources as byte strings; a source with no content does not exist.
class sorgenti_in_memoria final : public archivio_sorgenti {
public:
    sorgenti_in_memoria() = default;
    sorgenti_in_memoria(std::optional<std::string> linea, std::optional<std::string> corsa);

    bool esiste(sorgente_testo s) const override;
    std::optional<std::string> leggi(sorgente_testo s) override;
    void elimina(sorgente_testo s) override;

    std::optional<std::string>& testo(sorgente_testo s) { return testi_[indice(s)]; }

private:
    static std::size_t indice(sorgente_testo s) { return s == sorgente_testo::linea ? 0 : 1; }
    std::array<std::optional<std::string>, 2> testi_;
};

// The sources in a directory, named from the scenario identity:
// <nome>_linea.txt and <nome>_<treno>-.txt.
class sorgenti_su_disco final : public archivio_sorgenti {
public:
    sorgenti_su_disco(std::filesystem::path cartella, const std::string& nome_scenario,
                      const std::string& numero_treno);

    bool esiste(sorgente_testo s) const override;
    std::optional<std::string> leggi(sorgente_testo s) override;
    void elimina(sorgente_testo s) override;

    const std::filesystem::path& percorso(sorgente_testo s) const {
        return s == sorgente_testo::linea ? linea_ : corsa_;
    }

private:
    std::filesystem::path linea_;
    std::filesystem::path corsa_;
};

// File names of the text sources and compiled files for a scenario identity.
std::string nome_file_linea_testo(const std::string& nome_scenario);
std::string nome_file_corsa_testo(const std::string& nome_scenario, const std::string& numero_treno);
std::string nome_file_linea_compilato(const std::string& nome_scenario);
std::string nome_file_corsa_compilato(const std::string& nome_scenario, const std::string& numero_treno);
std::string nome_file_celle_compilato(const std::string& nome_scenario, const std::string& numero_treno);

// A path from a directory and a file name made of 8-bit text.
std::filesystem::path percorso_in(const std::filesystem::path& cartella, const std::string& nome);

}  // namespace scenario
