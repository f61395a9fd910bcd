// A whole scenario package: the two sources compiled as `compile` compiles
// them, the author's details found, the three documents derived, and all six
// files written, each replaced whole.
#pragma once

#include "common/result.h"
#include "tools/core/memory_compile.h"
#include "tools/core/scenario_names.h"
#include "tools/documents/package_documents.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace scenario::tool {

// The details file: the one given, else NAME_NUMBER_documenti.json beside the
// run description when it exists; none is no details at all.
result<author_details> find_author_details(const named_sources& sources,
                                           const std::optional<std::filesystem::path>& given,
                                           std::optional<std::filesystem::path>* used = nullptr);

struct package_outcome {
    compiled_sources compiled;
    std::vector<std::filesystem::path> written;
};

// Compiles, derives and writes into `directory` (created when missing). A
// compile with errors writes nothing: its documents would describe a route
// the simulator does not get.
result<package_outcome> write_package(const named_sources& sources, const author_details& details,
                                      const std::filesystem::path& directory);

}  // namespace scenario::tool
