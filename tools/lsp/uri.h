// file:// URIs as editors send them, and the paths they name.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace scenario::tool::lsp {

// The path of a file URI ("file:///C:/x" is "C:/x" on Windows); none for
// another scheme.
std::optional<std::filesystem::path> path_of_uri(std::string_view uri);

// The file URI of an absolute path, its bytes beyond the plain ones escaped.
std::string uri_of_path(const std::filesystem::path& path);

}  // namespace scenario::tool::lsp
