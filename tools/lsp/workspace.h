// The open documents and their pairs: which files changed, the compile of
// each pair they belong to, and the diagnostics to publish for it.
#pragma once

#include "tools/core/memory_compile.h"
#include "tools/lsp/documents.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <vector>

namespace scenario::tool::lsp {

// A compile and which of its sources a document is.
struct compiled_view {
    std::shared_ptr<const compiled_sources> pair;
    sorgente_testo source = sorgente_testo::linea;
};

// How a pair is compiled: as the program compiles (a fuzzer may limit it).
using pair_compiler =
    std::function<compiled_sources(std::string line, std::string run, const scenario_names& names)>;

class workspace {
public:
    explicit workspace(pair_compiler compile = {});

    document_store& documents() { return documents_; }

    // A file was opened, changed or closed: its pairs compile again.
    void touch(const std::filesystem::path& path) { changed_.insert(path); }
    bool pending() const { return !changed_.empty(); }

    // Compiles each pair a changed file belongs to, once, and returns the
    // publishDiagnostics params for the open documents of those pairs.
    std::vector<nlohmann::json> compile_pending();

    // The last compile that holds an open document; null when none does (a
    // run description without its line description, a file of no pair).
    const compiled_view* compiled(const std::filesystem::path& path) const;

private:
    struct pair_job {
        std::optional<std::filesystem::path> line;
        std::optional<std::filesystem::path> run;
        bool publish_line = true;  // the line's diagnostics come from this pair
    };
    std::vector<pair_job> jobs_for(const std::filesystem::path& path) const;
    void run_job(const pair_job& job, std::vector<nlohmann::json>& out);
    void publish(const std::filesystem::path& path, nlohmann::json diagnostics,
                 std::vector<nlohmann::json>& out);

    pair_compiler compile_;
    document_store documents_;
    std::set<std::filesystem::path> changed_;
    std::map<std::filesystem::path, compiled_view> compiled_;
};

}  // namespace scenario::tool::lsp
