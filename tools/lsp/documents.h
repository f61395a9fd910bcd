// The documents open in the editor: their text as the bytes saving would
// write, and their versions. A file not open is read from disk.
#pragma once

#include "tools/lsp/editor_text.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace scenario::tool::lsp {

struct open_document {
    std::string uri;  // as the editor named it
    std::filesystem::path path;
    int64_t version = 0;
    encoded_text text;
};

class document_store {
public:
    // Opens or replaces a document with its whole text (UTF-8).
    void set(const std::string& uri, const std::filesystem::path& path, int64_t version,
             std::string_view text);
    void close(const std::filesystem::path& path);

    const open_document* find(const std::filesystem::path& path) const;
    // Open documents, in path order.
    std::vector<const open_document*> all() const;
    // Whether a file is open or on disk.
    bool present(const std::filesystem::path& path) const;
    // The bytes of a file: its open text, else what is on disk.
    std::optional<std::string> bytes(const std::filesystem::path& path) const;

private:
    std::map<std::filesystem::path, open_document> open_;
};

}  // namespace scenario::tool::lsp
