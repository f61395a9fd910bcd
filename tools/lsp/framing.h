// The language server's message framing: bodies read from a byte stream by
// their Content-Length headers, and bodies written with them. The reader
// recovers from broken headers and bodies and never holds more than a cap.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace scenario::tool::lsp {

// Reads up to `size` bytes into `buffer`; at least one, or 0 at the end.
using byte_source = std::function<std::size_t(char* buffer, std::size_t size)>;

// The largest body accepted; a longer one is skipped and reported.
inline constexpr std::size_t default_body_cap = std::size_t{64} << 20;

struct framed {
    enum class kind { body, broken, end };
    kind what = kind::end;
    std::string text;  // the body, or what was wrong with the framing
};

class message_reader {
public:
    explicit message_reader(byte_source source, std::size_t body_cap = default_body_cap);

    // The next body, a framing fault (the reader has skipped past it), or
    // the end of the stream.
    framed next();

    // After a body that turned out not to be JSON: when it holds the start
    // of another message (its Content-Length was too large and it swallowed
    // the next header), reading goes on from there.
    void recover(std::string_view bad_body);

private:
    bool fill();  // false at the end of the stream
    std::optional<std::size_t> header_end() const;

    byte_source source_;
    std::size_t cap_;
    std::string buffer_;
    bool ended_ = false;
};

// One message as written on the wire: its header and `body`.
std::string frame(std::string_view body);

}  // namespace scenario::tool::lsp
