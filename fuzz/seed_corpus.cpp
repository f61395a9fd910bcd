// Writes the seed inputs made of the program's own two text sources into a
// corpus directory, for one fuzz target:
//   seed_corpus field_reader|line_description|whole_compile[_long]|compile_agreement|lsp_server|line_fit
//   <directory>
// The sources come from the writers, so the seeds follow any change to them.
#include "common/line_list.h"
#include "fuzz/fuzz_targets.h"
#include "sources/writers.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>

namespace {

bool scrivi(const std::filesystem::path& percorso, std::string_view dati) {
    std::ofstream out(percorso, std::ios::binary | std::ios::trunc);
    out.write(dati.data(), std::streamsize(dati.size()));
    out.close();
    if (!out)
        std::fprintf(stderr, "seed_corpus: cannot write %s\n", percorso.string().c_str());
    return bool(out);
}

// The program's line description with its route cut to `metri`: the fast
// targets' plan limit stops the whole route at its length, while this one is
// read up to there (lines beyond it end the reading with error 15).
std::string percorso_accorciato(std::string linea, const char* metri) {
    const std::string chiave = "lunghezza percorso,";
    const std::size_t dove = linea.find(chiave);
    if (dove == std::string::npos)
        return linea;
    std::size_t inizio = dove + chiave.size();
    while (inizio < linea.size() && linea[inizio] == ' ')
        ++inizio;
    std::size_t fine = inizio;
    while (fine < linea.size() && linea[fine] >= '0' && linea[fine] <= '9')
        ++fine;
    return linea.replace(inizio, fine - inizio, metri);
}

// One framed language-server message.
std::string messaggio(const nlohmann::json& m) {
    const std::string corpo = m.dump();
    return "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n" + corpo;
}

// An editor's session on the two sources (after the initialize the target
// sends itself): open both, a keyword typo, its fix asked for, the features,
// shutdown and exit. The first byte is the size of each read.
std::string sessione_editor(const std::string& linea, const std::string& corsa) {
    using nlohmann::json;
    const std::string uri_linea = "file:///s/Calvena_Roccalba_linea.txt";
    const std::string uri_corsa = "file:///s/Calvena_Roccalba_4127-.txt";
    std::string refuso = corsa;
    if (const std::size_t dove = refuso.find("segnale,"); dove != std::string::npos)
        refuso.insert(dove + 6, "l");
    const json posizione = {{"line", 48}, {"character", 2}};
    const json intervallo = {{"start", posizione}, {"end", posizione}};
    std::string s(1, '\x10');
    s += messaggio({{"jsonrpc", "2.0"}, {"method", "initialized"}, {"params", json::object()}});
    for (const auto& [uri, testo] : {std::pair{uri_linea, linea}, std::pair{uri_corsa, corsa}})
        s += messaggio({{"jsonrpc", "2.0"},
                        {"method", "textDocument/didOpen"},
                        {"params", {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", testo}}}}}});
    s += messaggio({{"jsonrpc", "2.0"},
                    {"method", "textDocument/didChange"},
                    {"params",
                     {{"textDocument", {{"uri", uri_corsa}, {"version", 2}}},
                      {"contentChanges", json::array({{{"text", refuso}}})}}}});
    int id = 1;
    for (const char* metodo : {"textDocument/codeAction", "textDocument/hover", "textDocument/completion",
                               "textDocument/documentSymbol"})
        s += messaggio({{"jsonrpc", "2.0"},
                        {"id", id++},
                        {"method", metodo},
                        {"params",
                         {{"textDocument", {{"uri", uri_corsa}}},
                          {"position", posizione},
                          {"range", intervallo},
                          {"context", {{"diagnostics", json::array()}}}}}});
    s += messaggio({{"jsonrpc", "2.0"}, {"id", id}, {"method", "shutdown"}});
    s += messaggio({{"jsonrpc", "2.0"}, {"method", "exit"}});
    return s;
}

// A line for the fit, in 16-bit steps of decimetres with heights: a
// straight, a bend, a straight, climbing.
std::string linea_a_passi() {
    std::string s(1, '\x02');
    double direzione = 0;
    for (int i = 0; i < 300; ++i) {
        if (i >= 100 && i < 160)
            direzione += 0.01;
        const auto dx = static_cast<int16_t>(std::lround(100 * std::sin(direzione)));
        const auto dy = static_cast<int16_t>(std::lround(100 * std::cos(direzione)));
        s.append(reinterpret_cast<const char*>(&dx), 2);
        s.append(reinterpret_cast<const char*>(&dy), 2);
        s += static_cast<char>(1);
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(
            stderr,
            "usage: seed_corpus "
            "field_reader|line_description|whole_compile[_long]|compile_agreement|lsp_server|line_fit "
            "<directory>\n");
        return 2;
    }
    const std::string bersaglio = argv[1];
    const std::filesystem::path cartella = argv[2];
    std::error_code ec;
    std::filesystem::create_directories(cartella, ec);

    const std::string linea = scenario::testo_lista(scenario::sorgenti::righe_linea());
    const std::string corsa = scenario::testo_lista(scenario::sorgenti::righe_treno());
    bool ok = true;
    if (bersaglio == "field_reader") {
        // The first byte chooses the kinds of reads: all text, all numbers, mixed.
        const std::pair<char, const char*> scelte[] = {
            {'\x00', "testi"}, {'\x55', "numeri"}, {'\xE4', "misto"}};
        for (const auto& [primo, nome] : scelte) {
            ok &= scrivi(cartella / (std::string("linea_") + nome), std::string(1, primo) + linea);
            ok &= scrivi(cartella / (std::string("corsa_") + nome), std::string(1, primo) + corsa);
        }
    } else if (bersaglio == "line_description") {
        ok &= scrivi(cartella / "linea", linea);
        ok &= scrivi(cartella / "linea_4999", percorso_accorciato(linea, "4999"));
    } else if (bersaglio == "whole_compile" || bersaglio == "whole_compile_long" ||
               bersaglio == "compile_agreement") {
        ok &= scrivi(cartella / "linea_corsa", scenario::fuzz::unisci_sorgenti(linea, corsa));
        ok &= scrivi(cartella / "linea_corsa_4999",
                     scenario::fuzz::unisci_sorgenti(percorso_accorciato(linea, "4999"), corsa));
    } else if (bersaglio == "lsp_server") {
        ok &= scrivi(cartella / "sessione", sessione_editor(linea, corsa));
        ok &= scrivi(cartella / "sessione_4999", sessione_editor(percorso_accorciato(linea, "4999"), corsa));
    } else if (bersaglio == "line_fit") {
        ok &= scrivi(cartella / "curva", linea_a_passi());
    } else {
        std::fprintf(stderr, "seed_corpus: unknown target %s\n", bersaglio.c_str());
        return 2;
    }
    return ok ? 0 : 1;
}
