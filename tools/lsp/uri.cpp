#include "tools/lsp/uri.h"

#include "tools/core/file_io.h"

#include <cctype>

namespace scenario::tool::lsp {

namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::filesystem::path> path_of_uri(std::string_view uri) {
    constexpr std::string_view scheme = "file://";
    if (uri.size() < scheme.size() || uri.substr(0, scheme.size()) != scheme)
        return std::nullopt;
    uri.remove_prefix(scheme.size());
    // A host ("file://localhost/x") is dropped.
    const std::size_t slash = uri.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    uri.remove_prefix(slash);
    std::string decoded;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && hex_digit(uri[i + 1]) >= 0 && hex_digit(uri[i + 2]) >= 0) {
            decoded += static_cast<char>(hex_digit(uri[i + 1]) * 16 + hex_digit(uri[i + 2]));
            i += 2;
        } else {
            decoded += uri[i];
        }
    }
#ifdef _WIN32
    // "/C:/dir" names "C:/dir".
    if (decoded.size() >= 3 && decoded[0] == '/' && std::isalpha(static_cast<unsigned char>(decoded[1])) &&
        decoded[2] == ':')
        decoded.erase(0, 1);
#endif
    return path_from_utf8(decoded);
}

std::string uri_of_path(const std::filesystem::path& path) {
    std::string p = display_path(path);
    for (char& c : p)
        if (c == '\\')
            c = '/';
    if (p.empty() || p[0] != '/')
        p = "/" + p;
    std::string uri = "file://";
    for (unsigned char c : p) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            uri += static_cast<char>(c);
        } else {
            constexpr char hex[] = "0123456789ABCDEF";
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 15];
        }
    }
    return uri;
}

}  // namespace scenario::tool::lsp
