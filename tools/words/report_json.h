// The JSON entries of a report: an error or a warning with its file, line
// and column, as `compile --json`, `check --json` and the viewer's page list them.
#pragma once

#include "tools/words/diagnostics.h"
#include "tools/words/warning_words.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace scenario::tool {

// The file a fact is about, named as the author typed it (`line_file` or
// `run_file`); nothing when the fact is not tied to a source.
std::optional<std::string> file_named(std::optional<sorgente_testo> source, const std::string& line_file,
                                      const std::string& run_file);

// The stable code of an error: "E" and its number.
std::string error_code_name(int32_t number);

// A diagnosis's second places, each {file, line, column, message}.
nlohmann::ordered_json related_json(const std::vector<related_place>& places, const std::string& line_file,
                                    const std::string& run_file);

// One entry of "errors": a diagnosis, its file named as the author typed it.
nlohmann::ordered_json diagnosis_json(const diagnosis& d, const std::string& line_file,
                                      const std::string& run_file);
// One entry of "warnings", likewise.
nlohmann::ordered_json warning_json(const worded_warning& w, const std::string& line_file,
                                    const std::string& run_file);

}  // namespace scenario::tool
