#include "tools/core/memory_compile.h"

#include "compiler/compile_driver.h"
#include "compiler/source_store.h"
#include "tools/core/file_io.h"

namespace scenario::tool {

compiled_sources compile_texts(std::string line_text, std::string run_text, const scenario_names& names,
                               bool plan, const compile_options& options) {
    compiled_sources c;
    c.names = names;
    c.plan = plan;
    c.line_text = std::move(line_text);
    c.run_text = std::move(run_text);
    c.state->nome_scenario = names.name;
    c.state->numero_treno = names.train;
    // The compiler deletes the sources it read: it is handed copies.
    sorgenti_in_memoria sources{c.line_text, c.run_text};
    c.stamp = compila_scenario(*c.state, plan ? 1 : 0, sources, options, &c.log);
    c.errors = diagnose(*c.state, c.log, c.stamp);
    return c;
}

result<compiled_sources> compile_files(const named_sources& sources, bool plan,
                                       const compile_options& options) {
    result<std::string> line = read_file(sources.line_file);
    if (!line)
        return failure{line.error()};
    result<std::string> run = read_file(sources.run_file);
    if (!run)
        return failure{run.error()};
    return compile_texts(std::move(*line), std::move(*run), sources.names, plan, options);
}

}  // namespace scenario::tool
