// Reading whole input files, with a message a person can act on when it fails,
// and paths to and from the UTF-8 the tool's words are in.
#pragma once

#include "common/result.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::tool {

// The bytes of a regular file, exactly as stored, or why they could not be
// read (naming the file).
result<std::string> read_file(const std::filesystem::path& path);

// A file to write: its name in a directory (8-bit text) and its bytes.
struct file_to_write {
    std::string name;
    std::string bytes;
};

// Writes the files into `directory` (created when missing), each replaced
// whole. Existing files are kept, and nothing is written, unless `overwrite`:
// an author's edited copy must not vanish by accident. The paths written are
// added to `written` when given.
result<void> write_files(const std::filesystem::path& directory, const std::vector<file_to_write>& files,
                         bool overwrite, std::vector<std::filesystem::path>* written = nullptr);

// A path from a UTF-8 word of the command line (on Windows a narrow string
// would be taken in the system code page instead).
std::filesystem::path path_from_utf8(std::string_view utf8);

// A path as the person typed or would read it, in UTF-8.
std::string display_path(const std::filesystem::path& path);

}  // namespace scenario::tool
