#include "tools/report/scenario_names.h"

#include <string_view>

namespace scenario::tool {

namespace {

constexpr std::string_view line_suffix = "_linea.txt";
constexpr std::string_view run_suffix = "-.txt";

bool ends_with(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// The file name alone, as 8-bit text (the scenario names are 8-bit text too).
std::string file_name(const std::filesystem::path& p) {
    return p.filename().string();
}

}  // namespace

names_result complete_names(const std::filesystem::path& line_file, const std::filesystem::path& run_file,
                            const std::string& name, const std::string& train) {
    names_result r;
    scenario_names n{name, train, false};
    if (n.name.empty()) {
        const std::string f = file_name(line_file);
        if (!ends_with(f, line_suffix) || f.size() == line_suffix.size()) {
            r.error = "cannot take the scenario name from \"" + f +
                      "\" (expected NAME_linea.txt): give it with --name";
            return r;
        }
        n.name = f.substr(0, f.size() - line_suffix.size());
        n.guessed = true;
    }
    if (n.train.empty()) {
        const std::string f = file_name(run_file);
        const std::string prefix = n.name + "_";
        if (f.size() <= prefix.size() + run_suffix.size() || f.compare(0, prefix.size(), prefix) != 0 ||
            !ends_with(f, run_suffix)) {
            r.error = "cannot take the train number from \"" + f + "\" (expected " + prefix +
                      "NUMBER-.txt): give it with --train";
            return r;
        }
        n.train = f.substr(prefix.size(), f.size() - prefix.size() - run_suffix.size());
        n.guessed = true;
    }
    r.names = std::move(n);
    return r;
}

std::string describe_guess(const scenario_names& n) {
    return "scenario name \"" + n.name + "\", train number \"" + n.train + "\" (taken from the file names)";
}

std::optional<std::string> check_file_name(const std::string& che_cosa, const std::string& valore) {
    if (valore.empty())
        return che_cosa + " is empty";
    for (unsigned char c : valore) {
        if (c < 0x20 || c == 0x7F)
            return che_cosa + " \"" + valore + "\" holds a control character";
        if (std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return che_cosa + " \"" + valore + "\" holds '" + std::string(1, static_cast<char>(c)) +
                   "', which cannot stand in a file name";
    }
    if (valore == "." || valore == "..")
        return che_cosa + " \"" + valore + "\" cannot name a file";
    return std::nullopt;
}

}  // namespace scenario::tool
