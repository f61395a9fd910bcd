// Reading whole input files, with a message a person can act on when it fails.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace scenario::strumento {

struct file_letto {
    std::optional<std::string> contenuto;  // nothing when the file could not be read
    std::string errore;                    // why, naming the file
};

// The bytes of a regular file, exactly as stored.
file_letto leggi_file(const std::filesystem::path& percorso);

// A path as the person typed or would read it (UTF-8 where the platform allows).
std::string mostra_percorso(const std::filesystem::path& percorso);

}  // namespace scenario::strumento
