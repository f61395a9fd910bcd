#include "tools/lsp/pairing.h"

#include "tools/report/file_io.h"

#include <algorithm>

namespace scenario::tool::lsp {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view line_suffix = "_linea.txt";
constexpr std::string_view run_suffix = "-.txt";

std::string name_of(const fs::path& p) {
    return display_path(p.filename());
}

bool ends_with(const std::string& s, std::string_view end) {
    return s.size() > end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

source_kind kind_of(const fs::path& file) {
    const std::string n = name_of(file);
    if (ends_with(n, line_suffix))
        return source_kind::line;
    if (ends_with(n, run_suffix) && n.find('_') != std::string::npos)
        return source_kind::run;
    return source_kind::other;
}

std::optional<fs::path> line_of_run(const fs::path& run, const presence& present) {
    const std::string n = name_of(run);
    if (!ends_with(n, run_suffix))
        return std::nullopt;
    const std::string stem = n.substr(0, n.size() - run_suffix.size());
    for (std::size_t cut = stem.rfind('_'); cut != std::string::npos && cut > 0;
         cut = stem.rfind('_', cut - 1)) {
        if (cut + 1 == stem.size())
            continue;
        const fs::path line =
            run.parent_path() / path_from_utf8(stem.substr(0, cut) + std::string(line_suffix));
        if (present(line))
            return line;
    }
    return std::nullopt;
}

std::string expected_line_name(const fs::path& run) {
    std::string n = name_of(run);
    n = n.substr(0, n.size() - std::min(n.size(), run_suffix.size()));
    return n.substr(0, n.rfind('_')) + std::string(line_suffix);
}

std::optional<fs::path> run_of_line(const fs::path& line, const std::vector<fs::path>& open_runs,
                                    const presence& present) {
    const auto pairs = [&](const fs::path& run) {
        const std::optional<fs::path> l = line_of_run(run, present);
        return l && *l == line;
    };
    for (const fs::path& run : open_runs)
        if (pairs(run))
            return run;
    const std::string n = name_of(line);
    const std::string prefix = n.substr(0, n.size() - line_suffix.size()) + "_";
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator i(line.parent_path(), ec), end; !ec && i != end; i.increment(ec)) {
        const std::string f = name_of(i->path());
        if (f.compare(0, prefix.size(), prefix) == 0 && kind_of(i->path()) == source_kind::run &&
            pairs(i->path()))
            found.push_back(i->path());
    }
    if (found.empty())
        return std::nullopt;
    return *std::min_element(found.begin(), found.end());
}

}  // namespace scenario::tool::lsp
