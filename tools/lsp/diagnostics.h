// A compiled pair's errors, warnings and unread parts as LSP diagnostics,
// worded as `check` words them, each on the exact range of its field.
#pragma once

#include "tools/core/memory_compile.h"
#include "tools/lsp/editor_text.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace scenario::tool::lsp {

struct pair_uris {
    std::string line;
    std::string run;
};

struct pair_diagnostics {
    nlohmann::json line = nlohmann::json::array();
    nlohmann::json run = nlohmann::json::array();
};

// Errors are Errors, warnings Warnings; what is tied to no source goes on the
// first line of the run description (errors) or the line description (the
// scenario name's warnings).
pair_diagnostics diagnose_pair(const compiled_sources& c, const pair_uris& uris);

// The characters an editor's text holds that Windows-1252 cannot.
nlohmann::json encoding_diagnostics(const std::vector<unencodable>& lost);

// The one diagnostic of a run description with no line description beside it.
nlohmann::json missing_line_diagnostic(const std::string& expected_name);

}  // namespace scenario::tool::lsp
