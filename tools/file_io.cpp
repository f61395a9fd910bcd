#include "tools/file_io.h"

#include "tools/text_encoding.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace scenario::strumento {

std::string mostra_percorso(const std::filesystem::path& percorso) {
    const std::u8string u = percorso.u8string();
    return utf8_sicuro(std::string(u.begin(), u.end()));
}

file_letto leggi_file(const std::filesystem::path& percorso) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status stato = fs::status(percorso, ec);
    if (!fs::exists(stato))
        return {std::nullopt, mostra_percorso(percorso) + ": no such file"};
    if (fs::is_directory(stato))
        return {std::nullopt, mostra_percorso(percorso) + ": is a directory, not a file"};

    std::ifstream in(percorso, std::ios::binary);
    if (!in)
        return {std::nullopt, mostra_percorso(percorso) + ": cannot be opened for reading"};
    std::string dati{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return {std::nullopt, mostra_percorso(percorso) + ": read error"};
    return {std::move(dati), {}};
}

}  // namespace scenario::strumento
