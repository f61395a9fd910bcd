// Replacing a file whole, for the text files and the compiled files alike.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// Replaces the file at `percorso` with `contenuto`.
//
// The file is first opened for writing (created when missing) and closed, so a
// file that cannot be replaced stops the caller before anything changes. The new
// content then goes to a temporary file in the same directory, which is renamed
// over the old file in one step: a failure while writing (a full disk, a killed
// process) never leaves a truncated file where a good one stood. On failure the
// temporary file is removed.
//
// Returns nothing on success, or a message that names the file and the failure.
std::optional<std::string> sostituisci_file(const std::filesystem::path& percorso,
                                            std::string_view contenuto);

}  // namespace scenario
