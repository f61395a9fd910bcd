#include "tools/lsp/framing.h"

#include <algorithm>
#include <cctype>

namespace scenario::tool::lsp {

namespace {

// Headers longer than this are not headers: the reader keeps only a tail.
constexpr std::size_t header_cap = 8192;
constexpr std::string_view length_name = "content-length:";

std::string lower(std::string_view s) {
    std::string t(s);
    std::transform(t.begin(), t.end(), t.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return t;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Where a Content-Length header starts in `text`, at or after `from`.
std::size_t length_header_at(std::string_view text, std::size_t from) {
    return lower(text).find(length_name, from);
}

struct header_reading {
    std::optional<std::size_t> length;
    std::string fault;  // empty: the header block is well formed
};

// Reads the header lines "Name: value"; Content-Length must be a plain number.
header_reading read_headers(std::string_view block, std::size_t cap) {
    header_reading h;
    while (!block.empty()) {
        const std::size_t eol = block.find('\n');
        const std::string_view line = trimmed(block.substr(0, eol));
        block.remove_prefix(eol == std::string_view::npos ? block.size() : eol + 1);
        if (line.empty())
            continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0)
            return {std::nullopt, "a header line without a name and a colon"};
        if (lower(line.substr(0, colon + 1)) != length_name)
            continue;
        const std::string_view digits = trimmed(line.substr(colon + 1));
        if (digits.empty() || digits.size() > 12 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return {std::nullopt, "a Content-Length that is not a number"};
        std::size_t n = 0;
        for (char c : digits)
            n = n * 10 + static_cast<std::size_t>(c - '0');
        if (n > cap)
            return {std::nullopt, "a Content-Length of " + std::string(digits) +
                                      " bytes, over the limit of " + std::to_string(cap)};
        h.length = n;
    }
    if (!h.length)
        h.fault = "a header without Content-Length";
    return h;
}

}  // namespace

message_reader::message_reader(byte_source source, std::size_t body_cap)
    : source_(std::move(source)), cap_(body_cap) {}

bool message_reader::fill() {
    if (ended_)
        return false;
    char chunk[4096];
    const std::size_t n = source_(chunk, sizeof chunk);
    if (n == 0) {
        ended_ = true;
        return false;
    }
    buffer_.append(chunk, n);
    return true;
}

std::optional<std::size_t> message_reader::header_end() const {
    const std::size_t crlf = buffer_.find("\r\n\r\n");
    if (crlf != std::string::npos)
        return crlf + 4;
    const std::size_t lf = buffer_.find("\n\n");
    if (lf != std::string::npos)
        return lf + 2;
    return std::nullopt;
}

framed message_reader::next() {
    for (;;) {
        // Bytes before a Content-Length header are junk left by a broken message.
        const std::size_t start = length_header_at(buffer_, 0);
        std::optional<std::size_t> end = header_end();
        if (start != 0 && start != std::string::npos && (!end || *end > start)) {
            buffer_.erase(0, start);
            return {framed::kind::broken, "bytes that are not a message header were skipped"};
        }
        if (!end) {
            if (buffer_.size() > header_cap) {
                // Keep a tail that may hold the start of the next header.
                buffer_.erase(0, buffer_.size() - length_name.size());
                return {framed::kind::broken,
                        "a header longer than " + std::to_string(header_cap) + " bytes"};
            }
            if (!fill()) {
                const bool junk = !trimmed(buffer_).empty() && buffer_ != "\n";
                buffer_.clear();
                if (junk)
                    return {framed::kind::broken, "the stream ended inside a header"};
                return {framed::kind::end, {}};
            }
            continue;
        }
        const header_reading h = read_headers(std::string_view(buffer_).substr(0, *end), cap_);
        if (!h.fault.empty()) {
            buffer_.erase(0, *end);
            return {framed::kind::broken, h.fault};
        }
        while (buffer_.size() < *end + *h.length) {
            if (!fill()) {
                buffer_.clear();
                return {framed::kind::broken, "the stream ended before the body's Content-Length bytes"};
            }
        }
        framed f{framed::kind::body, buffer_.substr(*end, *h.length)};
        buffer_.erase(0, *end + *h.length);
        return f;
    }
}

void message_reader::recover(std::string_view bad_body) {
    const std::size_t at = length_header_at(bad_body, 1);
    if (at != std::string::npos)
        buffer_.insert(0, bad_body.substr(at));
}

std::string frame(std::string_view body) {
    std::string t = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    t += body;
    return t;
}

}  // namespace scenario::tool::lsp
