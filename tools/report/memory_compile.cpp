#include "tools/report/memory_compile.h"

#include "compiler/compile_driver.h"
#include "compiler/source_store.h"
#include "tools/report/file_io.h"

namespace scenario::tool {

memory_compile compile_in_memory(const std::filesystem::path& line, const std::filesystem::path& run,
                                 const std::string& name, const std::string& train, bool plan) {
    memory_compile m;
    m.plan = plan;
    const names_result names = complete_names(line, run, name, train);
    if (!names.names) {
        m.failure = names.error;
        return m;
    }
    m.names = *names.names;
    file_read line_text = read_file(line);
    file_read run_text = read_file(run);
    if (!line_text.bytes || !run_text.bytes) {
        m.failure = !line_text.bytes ? line_text.error : run_text.error;
        return m;
    }
    m.state = std::make_unique<stato_scenario>();
    m.state->nome_scenario = m.names.name;
    m.state->numero_treno = m.names.train;
    sorgenti_in_memoria sources{std::move(line_text.bytes), std::move(run_text.bytes)};
    m.stamp = compila_scenario(*m.state, plan ? 1 : 0, sources, {}, &m.log);
    m.errors = diagnose(*m.state, m.log, m.stamp);
    return m;
}

}  // namespace scenario::tool
