#include "tools/documents/package_writer.h"

#include "common/file_replace.h"
#include "compiler/compiled_files.h"
#include "compiler/source_store.h"
#include "tools/core/file_io.h"

#include <system_error>

namespace scenario::tool {

namespace fs = std::filesystem;

result<author_details> find_author_details(const named_sources& sources, const std::optional<fs::path>& given,
                                           std::optional<fs::path>* used) {
    fs::path path;
    if (given) {
        path = *given;
    } else {
        path = sources.run_file.parent_path() / author_details_name(sources.names.name, sources.names.train);
        std::error_code ec;
        if (!fs::exists(path, ec))
            return author_details{};
    }
    if (used != nullptr)
        *used = path;
    return read_author_details(path);
}

result<package_outcome> write_package(const named_sources& sources, const author_details& details,
                                      const fs::path& directory) {
    if (result<void> names = check_names(sources.names); !names)
        return failure{names.error()};
    result<compiled_sources> compiled = compile_files(sources, true);
    if (!compiled)
        return failure{compiled.error()};
    package_outcome o{std::move(*compiled), {}};
    const stato_scenario& s = *o.compiled.state;
    if (!o.compiled.errors.empty() || s.codice_errore != 0 || o.compiled.stamp)
        return failure{"the sources hold errors ('scenario check' lists them); nothing was written"};
    result<package_documents> documents = derive_documents(s, &o.compiled.log, sources.names, details);
    if (!documents)
        return failure{documents.error()};

    std::error_code ec;
    fs::create_directories(directory, ec);
    if (ec || !fs::is_directory(directory, ec))
        return failure{display_path(directory) + ": cannot create the output directory"};
    if (auto written = scrivi_file_compilati(s, directory); !written)
        return failure{describe_failure(written.error())};
    o.written = {
        percorso_in(directory, nome_file_linea_compilato(sources.names.name)),
        percorso_in(directory, nome_file_corsa_compilato(sources.names.name, sources.names.train)),
        percorso_in(directory, nome_file_celle_compilato(sources.names.name, sources.names.train)),
    };
    for (const document_file& f : document_files(*documents, sources.names)) {
        const fs::path path = percorso_in(directory, f.name);
        if (auto written = replace_file(path, f.bytes); !written)
            return failure{describe_failure(written.error())};
        o.written.push_back(path);
    }
    return o;
}

}  // namespace scenario::tool
