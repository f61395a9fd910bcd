#include "compiler/source_store.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace scenario {

sorgenti_in_memoria::sorgenti_in_memoria(std::optional<std::string> linea, std::optional<std::string> corsa)
    : testi_{std::move(linea), std::move(corsa)} {}

bool sorgenti_in_memoria::esiste(sorgente_testo s) const {
    return testi_[indice(s)].has_value();
}

std::optional<std::string> sorgenti_in_memoria::leggi(sorgente_testo s) {
    return testi_[indice(s)];
}

void sorgenti_in_memoria::elimina(sorgente_testo s) {
    testi_[indice(s)].reset();
}

sorgenti_su_disco::sorgenti_su_disco(std::filesystem::path cartella, const std::string& nome_scenario,
                                     const std::string& numero_treno)
    : linea_(percorso_in(cartella, nome_file_linea_testo(nome_scenario))),
      corsa_(percorso_in(cartella, nome_file_corsa_testo(nome_scenario, numero_treno))) {}

bool sorgenti_su_disco::esiste(sorgente_testo s) const {
    std::error_code ec;
    return std::filesystem::is_regular_file(percorso(s), ec);
}

std::optional<std::string> sorgenti_su_disco::leggi(sorgente_testo s) {
    std::ifstream in(percorso(s), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string testo{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return testo;
}

void sorgenti_su_disco::elimina(sorgente_testo s) {
    std::error_code ec;
    std::filesystem::remove(percorso(s), ec);
}

std::string nome_file_linea_testo(const std::string& nome_scenario) {
    return nome_scenario + "_linea.txt";
}
std::string nome_file_corsa_testo(const std::string& nome_scenario, const std::string& numero_treno) {
    return nome_scenario + "_" + numero_treno + "-.txt";
}
std::string nome_file_linea_compilato(const std::string& nome_scenario) {
    return nome_scenario + "_linea.dat";
}
std::string nome_file_corsa_compilato(const std::string& nome_scenario, const std::string& numero_treno) {
    return nome_scenario + "_" + numero_treno + ".sim";
}
std::string nome_file_celle_compilato(const std::string& nome_scenario, const std::string& numero_treno) {
    return nome_scenario + "_" + numero_treno + ".dat";
}

std::filesystem::path percorso_in(const std::filesystem::path& cartella, const std::string& nome) {
    // Scenario file names are plain ASCII; on Windows the path stays wide.
    return cartella / std::filesystem::path(nome);
}

}  // namespace scenario
