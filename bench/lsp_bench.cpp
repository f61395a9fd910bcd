// The language server's change-to-diagnostics time: a didChange handled, the
// pair compiled, both files' publishDiagnostics framed as they go out; on the
// program's own scenario and on the synthetic 1000 km route.
#include "bench/synthetic_route.h"
#include "common/line_list.h"
#include "sources/writers.h"
#include "tools/lsp/framing.h"
#include "tools/lsp/server.h"

#include <benchmark/benchmark.h>

namespace {

using nlohmann::json;
using namespace scenario;

const std::string line_uri = "file:///bench/Calvena_Roccalba_linea.txt";
const std::string run_uri = "file:///bench/Calvena_Roccalba_4127-.txt";

json note(const std::string& method, json params) {
    return {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

void change_to_diagnostics(benchmark::State& state, const std::string& line, const std::string& run) {
    std::size_t written = 0;
    tool::lsp::server s([&](const json& m) { written += tool::lsp::frame(m.dump()).size(); });
    s.handle({{"jsonrpc", "2.0"}, {"id", 0}, {"method", "initialize"}, {"params", json::object()}});
    for (const auto& [uri, text] : {std::pair{line_uri, line}, std::pair{run_uri, run}})
        s.handle(
            note("textDocument/didOpen", {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", text}}}}));
    s.publish_pending();
    int version = 1;
    for (auto _ : state) {
        // The text as the editor sends it: the whole run description again.
        const json change =
            note("textDocument/didChange", {{"textDocument", {{"uri", run_uri}, {"version", ++version}}},
                                            {"contentChanges", json::array({{{"text", run}}})}});
        s.handle(change);
        s.publish_pending();
    }
    benchmark::DoNotOptimize(written);
}

void BM_LspChangeToDiagnosticsOwnScenario(benchmark::State& state) {
    change_to_diagnostics(state, testo_lista(sorgenti::righe_linea()), testo_lista(sorgenti::righe_treno()));
}

void BM_LspChangeToDiagnosticsSynthetic1000km(benchmark::State& state) {
    const banco::sorgenti_sintetiche t = banco::percorso_sintetico(100);
    change_to_diagnostics(state, t.linea, t.corsa);
}

}  // namespace

BENCHMARK(BM_LspChangeToDiagnosticsOwnScenario)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LspChangeToDiagnosticsSynthetic1000km)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
