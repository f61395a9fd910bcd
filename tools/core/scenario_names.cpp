#include "tools/core/scenario_names.h"

#include "compiler/source_store.h"
#include "compiler/text_case.h"
#include "tools/core/file_io.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace scenario::tool {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view line_suffix = "_linea.txt";
constexpr std::string_view run_suffix = "-.txt";
constexpr std::string_view compiled_run_suffix = ".sim";
constexpr std::string_view compiled_line_suffix = "_linea.dat";
constexpr std::string_view compiled_cells_suffix = ".dat";

bool ends_with(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

bool starts_with(std::string_view s, std::string_view head) {
    return s.size() >= head.size() && s.substr(0, head.size()) == head;
}

// The file name alone, as 8-bit text (the scenario names are 8-bit text too).
std::string file_name(const fs::path& p) {
    return p.filename().string();
}

// The stems NAME_NUMBER of the compiled run files in `directory`, sorted.
std::vector<std::string> compiled_run_stems(const fs::path& directory, std::error_code& ec) {
    std::vector<std::string> stems;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code file_ec;
        if (!it->is_regular_file(file_ec))
            continue;
        std::string f;
        try {
            f = file_name(it->path());
        } catch (const std::exception&) {
            continue;  // a name the 8-bit code page cannot hold cannot be a scenario's
        }
        if (ends_with(f, compiled_run_suffix) && f.size() > compiled_run_suffix.size())
            stems.push_back(f.substr(0, f.size() - compiled_run_suffix.size()));
    }
    std::sort(stems.begin(), stems.end());
    return stems;
}

// NAME_NUMBER split into its two names, keeping the given ones; nothing fits
// when a given name does not match. The split with a line file beside it
// wins, else the last '_'.
std::optional<scenario_names> split_stem(const fs::path& directory, const std::string& stem,
                                         const std::string& name, const std::string& train) {
    if (!name.empty()) {
        if (!starts_with(stem, name + "_") || stem.size() == name.size() + 1)
            return std::nullopt;
        const std::string t = stem.substr(name.size() + 1);
        if (!train.empty() && t != train)
            return std::nullopt;
        return scenario_names{name, t, true};
    }
    if (!train.empty()) {
        if (!ends_with(stem, "_" + train) || stem.size() == train.size() + 1)
            return std::nullopt;
        return scenario_names{stem.substr(0, stem.size() - train.size() - 1), train, true};
    }
    std::vector<scenario_names> splits = name_splits(stem);
    for (scenario_names& n : splits) {
        std::error_code ec;
        if (fs::exists(percorso_in(directory, nome_file_linea_compilato(n.name)), ec))
            return std::move(n);
    }
    if (splits.empty())
        return std::nullopt;
    return std::move(splits.back());
}

}  // namespace

result<named_sources> name_sources(const std::string& line, const std::string& run, const std::string& name,
                                   const std::string& train) {
    named_sources s{path_from_utf8(line), path_from_utf8(run), {}};
    result<scenario_names> names = complete_names(s.line_file, s.run_file, name, train);
    if (!names)
        return failure{names.error()};
    s.names = std::move(*names);
    if (result<void> r = check_names(s.names); !r)
        return failure{r.error()};
    return s;
}

result<scenario_names> compiled_names(const fs::path& directory, const std::string& name,
                                      const std::string& train) {
    if (!name.empty() && !train.empty()) {
        scenario_names n{name, train, false};
        if (result<void> r = check_names(n); !r)
            return failure{r.error()};
        return n;
    }
    std::error_code ec;
    const std::vector<std::string> stems = compiled_run_stems(directory, ec);
    if (ec)
        return failure{display_path(directory) + ": cannot list the directory: " + ec.message()};
    std::vector<scenario_names> found;
    for (const std::string& stem : stems)
        if (auto n = split_stem(directory, stem, name, train))
            found.push_back(std::move(*n));
    if (found.size() == 1) {
        if (result<void> r = check_names(found.front()); !r)
            return failure{r.error()};
        return found.front();
    }
    const std::string give = "give the scenario with --name and --train";
    if (found.empty())
        return failure{display_path(directory) + " holds no compiled run file" +
                       (name.empty() && train.empty() ? std::string()
                                                      : " of " + (name.empty() ? "train " + train : name)) +
                       " (NAME_NUMBER.sim): compile the scenario there first, or " + give};
    std::string list;
    for (const scenario_names& n : found)
        list += "\n  " + n.name + " / " + n.train;
    return failure{display_path(directory) + " holds " + std::to_string(found.size()) +
                   " compiled scenarios; " + give + ":" + list};
}

result<scenario_names> complete_names(const fs::path& line_file, const fs::path& run_file,
                                      const std::string& name, const std::string& train) {
    scenario_names n{name, train, false};
    if (n.name.empty()) {
        const std::string f = file_name(line_file);
        std::optional<std::string> from_file = name_of_line_file(f);
        if (!from_file)
            return failure{"cannot take the scenario name from \"" + f +
                           "\" (expected NAME_linea.txt): give it with --name"};
        n.name = std::move(*from_file);
        n.guessed = true;
    }
    if (n.train.empty()) {
        const std::string f = file_name(run_file);
        const std::string prefix = n.name + "_";
        if (f.size() <= prefix.size() + run_suffix.size() || f.compare(0, prefix.size(), prefix) != 0 ||
            !ends_with(f, run_suffix))
            return failure{"cannot take the train number from \"" + f + "\" (expected " + prefix +
                           "NUMBER-.txt): give it with --train"};
        n.train = f.substr(prefix.size(), f.size() - prefix.size() - run_suffix.size());
        n.guessed = true;
    }
    return n;
}

std::optional<std::string> name_of_line_file(std::string_view file_name) {
    if (!ends_with(file_name, line_suffix) || file_name.size() == line_suffix.size())
        return std::nullopt;
    return std::string(file_name.substr(0, file_name.size() - line_suffix.size()));
}

std::optional<std::string> stem_of_run_file(std::string_view file_name) {
    if (!ends_with(file_name, run_suffix) || file_name.size() == run_suffix.size())
        return std::nullopt;
    return std::string(file_name.substr(0, file_name.size() - run_suffix.size()));
}

std::vector<scenario_names> name_splits(const std::string& stem) {
    std::vector<scenario_names> splits;
    for (std::size_t cut = stem.find('_'); cut != std::string::npos; cut = stem.find('_', cut + 1))
        if (cut != 0 && cut + 1 != stem.size())
            splits.push_back(scenario_names{stem.substr(0, cut), stem.substr(cut + 1), true});
    return splits;
}

std::optional<compiled_kind> kind_from_name(const fs::path& p) {
    const std::u8string u = p.filename().u8string();
    const std::string name = lower_ascii(std::string(u.begin(), u.end()));
    if (ends_with(name, compiled_line_suffix))
        return compiled_kind::line;
    if (ends_with(name, compiled_run_suffix))
        return compiled_kind::run;
    if (ends_with(name, compiled_cells_suffix))
        return compiled_kind::cells;
    return std::nullopt;
}

std::string compiled_file_name(compiled_kind kind, const scenario_names& n) {
    switch (kind) {
        case compiled_kind::line:
            return nome_file_linea_compilato(n.name);
        case compiled_kind::run:
            return nome_file_corsa_compilato(n.name, n.train);
        case compiled_kind::cells:
            break;
    }
    return nome_file_celle_compilato(n.name, n.train);
}

std::string describe_guess(const scenario_names& n) {
    return "scenario name \"" + n.name + "\", train number \"" + n.train + "\" (taken from the file names)";
}

result<void> check_names(const scenario_names& n) {
    if (result<void> r = check_file_name("the scenario name", n.name); !r)
        return r;
    return check_file_name("the train number", n.train);
}

result<void> check_file_name(const std::string& what, const std::string& value) {
    if (value.empty())
        return failure{what + " is empty"};
    for (unsigned char c : value) {
        if (c < 0x20 || c == 0x7F)
            return failure{what + " \"" + value + "\" holds a control character"};
        if (std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return failure{what + " \"" + value + "\" holds '" + std::string(1, static_cast<char>(c)) +
                           "', which cannot stand in a file name"};
    }
    if (value == "." || value == "..")
        return failure{what + " \"" + value + "\" cannot name a file"};
    return {};
}

}  // namespace scenario::tool
