#include "tools/lsp/pairing.h"

#include "compiler/source_store.h"
#include "tools/core/file_io.h"
#include "tools/core/scenario_names.h"

#include <algorithm>

namespace scenario::tool::lsp {

namespace fs = std::filesystem;

namespace {

std::string name_of(const fs::path& p) {
    return display_path(p.filename());
}

}  // namespace

source_kind kind_of(const fs::path& file) {
    const std::string n = name_of(file);
    if (name_of_line_file(n))
        return source_kind::line;
    if (stem_of_run_file(n) && n.find('_') != std::string::npos)
        return source_kind::run;
    return source_kind::other;
}

std::optional<fs::path> line_of_run(const fs::path& run, const presence& present) {
    const std::optional<std::string> run_stem = stem_of_run_file(name_of(run));
    if (!run_stem)
        return std::nullopt;
    // The longest scenario name first.
    const std::vector<scenario_names> splits = name_splits(*run_stem);
    for (auto n = splits.rbegin(); n != splits.rend(); ++n) {
        const fs::path line = run.parent_path() / path_from_utf8(nome_file_linea_testo(n->name));
        if (present(line))
            return line;
    }
    return std::nullopt;
}

std::string expected_line_name(const fs::path& run) {
    const std::string n = name_of(run);
    const std::string stem = stem_of_run_file(n).value_or(n);
    return nome_file_linea_testo(stem.substr(0, stem.rfind('_')));
}

std::optional<fs::path> run_of_line(const fs::path& line, const std::vector<fs::path>& open_runs,
                                    const presence& present) {
    const auto pairs = [&](const fs::path& run) {
        const std::optional<fs::path> l = line_of_run(run, present);
        return l && *l == line;
    };
    for (const fs::path& run : open_runs)
        if (pairs(run))
            return run;
    const std::optional<std::string> name = name_of_line_file(name_of(line));
    if (!name)
        return std::nullopt;
    const std::string prefix = *name + "_";
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator i(line.parent_path(), ec), end; !ec && i != end; i.increment(ec)) {
        const std::string f = name_of(i->path());
        if (f.compare(0, prefix.size(), prefix) == 0 && kind_of(i->path()) == source_kind::run &&
            pairs(i->path()))
            found.push_back(i->path());
    }
    if (found.empty())
        return std::nullopt;
    return *std::min_element(found.begin(), found.end());
}

}  // namespace scenario::tool::lsp
