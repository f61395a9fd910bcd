#include "tools/core/file_io.h"

#include "common/file_replace.h"
#include "compiler/source_store.h"
#include "tools/words/text_encoding.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <type_traits>

namespace scenario::tool {

std::filesystem::path path_from_utf8(std::string_view utf8) {
    // Where paths are wide, the conversion fails on bytes that are not UTF-8
    // (no such name can exist there); elsewhere any bytes name a file.
    if constexpr (std::is_same_v<std::filesystem::path::value_type, wchar_t>) {
        const std::string valid = valid_utf8(utf8);
        return std::filesystem::path(std::u8string(valid.begin(), valid.end()));
    } else {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    }
}

std::string display_path(const std::filesystem::path& path) {
    const std::u8string u = path.u8string();
    return valid_utf8(std::string(u.begin(), u.end()));
}

result<void> write_files(const std::filesystem::path& directory, const std::vector<file_to_write>& files,
                         bool overwrite, std::vector<std::filesystem::path>* written) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(directory, ec);
    if (ec || !fs::is_directory(directory, ec))
        return failure{display_path(directory) + ": cannot create the directory" +
                       (ec ? ": " + ec.message() : "")};
    if (!overwrite) {
        std::string existing;
        for (const file_to_write& f : files) {
            const fs::path p = percorso_in(directory, f.name);
            if (fs::exists(fs::symlink_status(p, ec)))
                existing += "\n  " + display_path(p);
        }
        if (!existing.empty())
            return failure{"these files exist already and were left alone (use --force to replace them):" +
                           existing};
    }
    for (const file_to_write& f : files) {
        const fs::path p = percorso_in(directory, f.name);
        if (result<void> r = sostituisci_file(p, f.bytes); !r)
            return r;
        if (written)
            written->push_back(p);
    }
    return {};
}

result<std::string> read_file(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        return failure{display_path(path) + ": no such file"};
    if (fs::is_directory(status))
        return failure{display_path(path) + ": is a directory, not a file"};

    std::ifstream in(path, std::ios::binary);
    if (!in)
        return failure{display_path(path) + ": cannot be opened for reading"};
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return failure{display_path(path) + ": read error"};
    return bytes;
}

}  // namespace scenario::tool
