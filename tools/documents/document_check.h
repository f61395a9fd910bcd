// Reads an author's driver documents back and compares them with what the
// package would write: timetable rows (stations, times, kilometre points) on
// the card, entries (speed, length, kilometre post) on the slow order.
#pragma once

#include "common/result.h"
#include "tools/core/scenario_names.h"
#include "tools/documents/author_details.h"
#include "tools/documents/package_documents.h"
#include "tools/words/document_warning.h"

#include <filesystem>
#include <string>
#include <vector>

namespace scenario::tool {

// The card's and the slow order's text against the documents derived;
// `file` names the document in the warnings.
std::vector<document_warning> compare_card(const std::string& text, const package_documents& expected,
                                           const std::string& file);
std::vector<document_warning> compare_slow_order(const std::string& text, const package_documents& expected,
                                                 const std::string& file);

// Compiles the sources, derives the documents and compares the three files in
// `directory` with them. A compile with errors gives no warnings here (its
// errors are reported already); a bad details file is a failure.
result<std::vector<document_warning>> check_documents(const named_sources& sources,
                                                      const author_details& details,
                                                      const std::filesystem::path& directory);

}  // namespace scenario::tool
