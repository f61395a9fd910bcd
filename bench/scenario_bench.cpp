// How long the compile takes, from the two text sources in memory to the
// three encoded compiled files, for the program's own 40 km scenario and for a
// synthetic 1000 km one; and, for comparison, how long it takes only to write
// the same number of bytes to a file, the floor set by the disk. Rates are per
// wall-clock second, as a user waits for them. Each compile runs three ways,
// side by side: without a log (the state alone), with a log of errors and
// origins, and with a log that also records every field read and looks for
// warnings in them (as the tool does).
#include "bench/synthetic_route.h"
#include "common/file_replace.h"
#include "common/line_list.h"
#include "compiler/compile_driver.h"
#include "compiler/compiled_files.h"
#include "compiler/errors.h"
#include "sources/writers.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

namespace scenario {
namespace {

struct sorgenti_testo {
    std::string linea;
    std::string corsa;
};

sorgenti_testo sorgenti_del_programma() {
    return {testo_lista(sorgenti::righe_linea()), testo_lista(sorgenti::righe_treno())};
}

sorgenti_testo sorgenti_1000_km() {
    banco::sorgenti_sintetiche s = banco::percorso_sintetico(100);
    return {std::move(s.linea), std::move(s.corsa)};
}

enum class logging { none, errors_only, fields };

// One compile to the three buffers. Gives the number of bytes encoded, or a
// reason why the scenario did not compile cleanly.
std::size_t compila_in_memoria(const sorgenti_testo& t, std::string& problema, logging how = logging::none) {
    stato_scenario s;
    s.nome_scenario = "Calvena_Roccalba";
    s.numero_treno = "4127";
    sorgenti_in_memoria sorgenti(t.linea, t.corsa);
    compile_log log;
    compile_options options;
    options.record_fields = how == logging::fields;
    if (auto timbro = compila_scenario(s, 1, sorgenti, options, how == logging::none ? nullptr : &log)) {
        problema = "stamp error " + std::to_string(error_number(*timbro));
        return 0;
    }
    if (s.codice_errore != 0) {
        problema = log.errors.empty() ? "error " + std::to_string(s.codice_errore)
                                      : messaggio_errore(log.errors.back());
        return 0;
    }
    if (how == logging::fields && !log.warnings.empty()) {
        problema = "the scenario draws warnings: it should compile clean";
        return 0;
    }
    benchmark::DoNotOptimize(log.fields.data());
    const std::string linea = codifica_tracciato(s.tracciato);
    const std::string corsa = codifica_voci(s.voci);
    const std::string celle = codifica_celle(s.celle);
    benchmark::DoNotOptimize(linea.data());
    benchmark::DoNotOptimize(corsa.data());
    benchmark::DoNotOptimize(celle.data());
    return linea.size() + corsa.size() + celle.size();
}

void compila(benchmark::State& state, const sorgenti_testo& t, logging how = logging::none) {
    std::string problema;
    const std::size_t byte = compila_in_memoria(t, problema, how);
    if (byte == 0) {
        state.SkipWithError(problema.c_str());
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(compila_in_memoria(t, problema, how));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(byte));
    state.counters["output_bytes"] = static_cast<double>(byte);
}

// Only writing as many bytes as the compile of `t` encodes, through the same
// whole-file replacement the compiled files use.
void solo_scrittura(benchmark::State& state, const sorgenti_testo& t) {
    std::string problema;
    const std::size_t byte = compila_in_memoria(t, problema);
    if (byte == 0) {
        state.SkipWithError(problema.c_str());
        return;
    }
    const std::string contenuto(byte, '\x5A');
    const std::filesystem::path cartella =
        std::filesystem::temp_directory_path() /
        ("scenario_bench_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(cartella);
    const std::filesystem::path file = cartella / "uscita.dat";
    for (auto _ : state) {
        if (const result<void> scritto = sostituisci_file(file, contenuto); !scritto) {
            state.SkipWithError(scritto.error().c_str());
            break;
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(cartella, ec);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(byte));
    state.counters["output_bytes"] = static_cast<double>(byte);
}

void BM_CompileOwnScenario(benchmark::State& state) {
    static const sorgenti_testo t = sorgenti_del_programma();
    compila(state, t);
}
void BM_CompileSynthetic1000km(benchmark::State& state) {
    static const sorgenti_testo t = sorgenti_1000_km();
    compila(state, t);
}
void BM_CompileOwnScenarioLogged(benchmark::State& state) {
    static const sorgenti_testo t = sorgenti_del_programma();
    compila(state, t, logging::errors_only);
}
void BM_CompileOwnScenarioRecordingFields(benchmark::State& state) {
    static const sorgenti_testo t = sorgenti_del_programma();
    compila(state, t, logging::fields);
}
void BM_CompileSynthetic1000kmLogged(benchmark::State& state) {
    static const sorgenti_testo t = sorgenti_1000_km();
    compila(state, t, logging::errors_only);
}
void BM_CompileSynthetic1000kmRecordingFields(benchmark::State& state) {
    static const sorgenti_testo t = sorgenti_1000_km();
    compila(state, t, logging::fields);
}
void BM_WriteOnlyOwnScenarioBytes(benchmark::State& state) {
    static const sorgenti_testo t = sorgenti_del_programma();
    solo_scrittura(state, t);
}
void BM_WriteOnlySynthetic1000kmBytes(benchmark::State& state) {
    static const sorgenti_testo t = sorgenti_1000_km();
    solo_scrittura(state, t);
}

BENCHMARK(BM_CompileOwnScenario)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CompileOwnScenarioLogged)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CompileOwnScenarioRecordingFields)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteOnlyOwnScenarioBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CompileSynthetic1000km)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CompileSynthetic1000kmLogged)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CompileSynthetic1000kmRecordingFields)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteOnlySynthetic1000kmBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace scenario

BENCHMARK_MAIN();
