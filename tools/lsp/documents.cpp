#include "tools/lsp/documents.h"

#include "tools/core/file_io.h"

namespace scenario::tool::lsp {

namespace fs = std::filesystem;

void document_store::set(const std::string& uri, const fs::path& path, int64_t version,
                         std::string_view text) {
    open_[path] = open_document{uri, path, version, to_windows1252(text)};
}

void document_store::close(const fs::path& path) {
    open_.erase(path);
}

const open_document* document_store::find(const fs::path& path) const {
    const auto i = open_.find(path);
    return i == open_.end() ? nullptr : &i->second;
}

std::vector<const open_document*> document_store::all() const {
    std::vector<const open_document*> list;
    for (const auto& [path, d] : open_)
        list.push_back(&d);
    return list;
}

bool document_store::present(const fs::path& path) const {
    std::error_code ec;
    return find(path) != nullptr || fs::is_regular_file(path, ec);
}

std::optional<std::string> document_store::bytes(const fs::path& path) const {
    if (const open_document* d = find(path))
        return d->text.bytes;
    result<std::string> r = read_file(path);
    if (!r)
        return std::nullopt;
    return std::move(*r);
}

}  // namespace scenario::tool::lsp
