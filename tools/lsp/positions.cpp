#include "tools/lsp/positions.h"

#include <algorithm>

namespace scenario::tool::lsp {

line_index::line_index(std::string_view bytes) : bytes_(bytes) {
    starts_.push_back(0);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n')
            starts_.push_back(i + 1);
}

std::size_t line_index::line_start(int32_t line) const {
    const std::size_t k =
        static_cast<std::size_t>(std::clamp<int32_t>(line, 1, static_cast<int32_t>(starts_.size())));
    return starts_[k - 1];
}

std::size_t line_index::line_end(int32_t line) const {
    const std::size_t start = line_start(line);
    std::size_t end = bytes_.find('\n', start);
    if (end == std::string_view::npos)
        end = bytes_.size();
    if (end > start && bytes_[end - 1] == '\r')
        --end;
    return end;
}

std::size_t line_index::offset(int32_t line, int32_t column) const {
    const std::size_t start = line_start(line);
    return std::min(bytes_.size(), start + static_cast<std::size_t>(std::max(column, 1) - 1));
}

nlohmann::json line_index::position(std::size_t offset) const {
    offset = std::min(offset, bytes_.size());
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    const std::size_t line = static_cast<std::size_t>(after - starts_.begin()) - 1;
    // An offset inside a CR LF line break is the end of the line.
    const std::size_t end = line_end(static_cast<int32_t>(line + 1));
    return {{"line", line}, {"character", std::min(offset, end) - starts_[line]}};
}

nlohmann::json line_index::range(std::size_t first, std::size_t last) const {
    return {{"start", position(first)}, {"end", position(std::max(first, last))}};
}

nlohmann::json line_index::whole_line(int32_t line) const {
    return range(line_start(line), line_end(line));
}

}  // namespace scenario::tool::lsp
