#include "tools/view/documents_model.h"

#include "common/line_list.h"
#include "tools/core/file_io.h"
#include "tools/documents/package_documents.h"
#include "tools/words/text_encoding.h"

#include <system_error>

namespace scenario::view {

namespace {

std::string text_of(const lista_righe& lines) {
    std::string t;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        t += tool::from_windows1252(lines[i]) + "\n";
    return t;
}

}  // namespace

json documents_json(const compiled_view& v, const std::filesystem::path& directory) {
    const tool::compiled_sources& c = v.compiled;
    if (!c.errors.empty() || c.state->codice_errore != 0 || c.stamp)
        return {{"error", "the sources hold errors: no documents"}};
    tool::author_details details;
    const std::filesystem::path file = directory / tool::author_details_name(c.names.name, c.names.train);
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        result<tool::author_details> read = tool::read_author_details(file);
        if (!read)
            return {{"error", read.error()}};
        details = std::move(*read);
    }
    result<tool::package_documents> d = tool::derive_documents(*c.state, &c.log, c.names, details);
    if (!d)
        return {{"error", d.error()}};
    return {{"card", text_of(sorgenti::card_lines(d->card))},
            {"order", text_of(sorgenti::slow_order_lines(d->order))},
            {"notes", text_of(sorgenti::notes_lines(d->notes))}};
}

}  // namespace scenario::view
