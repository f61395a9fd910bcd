// Which text source a file is by its name, and the other source of its pair:
// NAME_linea.txt and NAME_NUMBER-.txt in the same folder, as every command
// pairs them.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace scenario::tool::lsp {

enum class source_kind { line, run, other };

source_kind kind_of(const std::filesystem::path& file);

// Whether a file is there to be read: open in the editor or on disk.
using presence = std::function<bool(const std::filesystem::path&)>;

// The line description of a run description: NAME_linea.txt for the longest
// NAME before a '_' of the run's name that has one.
std::optional<std::filesystem::path> line_of_run(const std::filesystem::path& run, const presence& present);

// The name of the line description a run description would have when none
// is there: the run's name up to its last '_'.
std::string expected_line_name(const std::filesystem::path& run);

// The run description to compile a line description with: the first of
// `open_runs` that pairs with it, else the first NAME_...-.txt on disk beside
// it (in name order) that does.
std::optional<std::filesystem::path> run_of_line(const std::filesystem::path& line,
                                                 const std::vector<std::filesystem::path>& open_runs,
                                                 const presence& present);

}  // namespace scenario::tool::lsp
