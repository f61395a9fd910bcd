// How long the editor features take on one compile: a hover on a value, the
// completion at a line's start and the outline of each source, for the
// program's own 40 km scenario and the synthetic 1000 km one. The compile
// itself is not timed here.
#include "bench/synthetic_route.h"
#include "common/line_list.h"
#include "sources/writers.h"
#include "tools/core/memory_compile.h"
#include "tools/lsp/completion.h"
#include "tools/lsp/hover.h"
#include "tools/lsp/symbols.h"

#include <benchmark/benchmark.h>
#include <string>

namespace scenario {
namespace {

const tool::compiled_sources& scenario_of(int64_t km) {
    static const tool::compiled_sources program =
        tool::compile_texts(testo_lista(sorgenti::righe_linea()), testo_lista(sorgenti::righe_treno()),
                            {"Calvena_Roccalba", "4127"}, true);
    static const tool::compiled_sources long_route = [] {
        banco::sorgenti_sintetiche s = banco::percorso_sintetico(100);
        return tool::compile_texts(std::move(s.linea), std::move(s.corsa), {"Calvena_Roccalba", "4127"},
                                   true);
    }();
    return km == 40 ? program : long_route;
}

// The middle value field of the run description.
std::pair<int, int> middle_value(const tool::compiled_sources& pair) {
    int line = 0, column = 0;
    std::size_t seen = 0, values = 0;
    for (const field_record& f : pair.log.fields)
        values += f.source == sorgente_testo::corsa && f.role == field_role::value;
    for (const field_record& f : pair.log.fields) {
        if (f.source != sorgente_testo::corsa || f.role != field_role::value || ++seen < values / 2)
            continue;
        line = f.line - 1;
        column = f.first_column - 1;
        break;
    }
    return {line, column};
}

void hover(benchmark::State& state) {
    const tool::compiled_sources& pair = scenario_of(state.range(0));
    const auto [line, column] = middle_value(pair);
    for (auto _ : state)
        benchmark::DoNotOptimize(tool::lsp::hover_at(pair, sorgente_testo::corsa, line, column));
}

void completion(benchmark::State& state) {
    const tool::compiled_sources& pair = scenario_of(state.range(0));
    const int line = middle_value(pair).first;
    for (auto _ : state)
        benchmark::DoNotOptimize(tool::lsp::completions_at(pair, sorgente_testo::corsa, line, 0));
}

void outline(benchmark::State& state) {
    const tool::compiled_sources& pair = scenario_of(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(tool::lsp::document_symbols(pair, sorgente_testo::linea));
        benchmark::DoNotOptimize(tool::lsp::document_symbols(pair, sorgente_testo::corsa));
    }
}

BENCHMARK(hover)->ArgName("km")->Arg(40)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(completion)->ArgName("km")->Arg(40)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(outline)->ArgName("km")->Arg(40)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario

BENCHMARK_MAIN();
