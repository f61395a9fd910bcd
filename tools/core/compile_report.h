// What a compile or a check reports, and its two printed forms: lines for a
// terminal (errors and warnings as one list in file and line order) and one
// JSON object.
#pragma once

#include "common/result.h"
#include "compiler/unread_parts.h"
#include "tools/words/diagnostics.h"
#include "tools/words/document_warning.h"
#include "tools/words/running_estimate.h"
#include "tools/words/warning_words.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace scenario::tool {

struct compile_result {
    bool compiled = false;          // the compile ran (its errors and warnings are below)
    std::vector<diagnosis> errors;  // every recorded error, in order
    worded_warnings warnings;       // the warnings, the ignored ones left out
    int32_t codice_errore = 0;      // the error record as the program leaves it
    int32_t posizione_errore = 0;
    std::optional<int32_t> fatal;     // 1250 or 1251: nothing was written
    std::vector<unread_part> unread;  // parts of the sources nothing was read of: a failure
    std::vector<std::filesystem::path> written;
    // Each pair of timing points: scheduled, bound, estimate, margin.
    nlohmann::ordered_json running_times = nlohmann::ordered_json::array();
    std::vector<document_warning> documents;  // check --documents: where a document disagrees
    // Whether the command did its job, or why not (unreadable input, a bad
    // name, unwritable output); the compile may still have run and diagnosed.
    result<void> status;

    bool errors_found() const { return !errors.empty() || codice_errore != 0; }
    std::size_t warning_count() const;  // the ones not shown included
    // Errors, parts not read, or (with --strict) warnings: the input fails.
    bool fails(bool strict) const {
        return errors_found() || !unread.empty() || (strict && warning_count() > 0);
    }
};

// The part of the sources left unread, in words ("the run description"), and
// the whole sentence about it.
std::string unread_part_name(const unread_part& u);
std::string unread_message(const unread_part& u);
// Its code in the JSON report ("utf16-file", "empty-route" ...).
const char* unread_cause_name(unread_cause c);

// The last line of a compile or check: what came of it, worded as a failure
// whenever the exit status says so.
std::string outcome_line(const compile_result& r, bool wrote, bool strict);

// The two sources as the report names them: as the author typed them.
struct report_files {
    std::string line;
    std::string run;
};

// Errors, warnings, the parts not read, the error record and the files
// written; `who` starts lines tied to no file ("scenario compile: "). A
// warning's consequences are counted, or listed after it when `verbose`.
void print_report_text(const compile_result& r, const report_files& files, const std::string& who,
                       bool verbose, std::ostream& out, std::ostream& err);

// The report as the one JSON object of `--json`.
void print_report_json(const compile_result& r, const report_files& files, std::ostream& out);

}  // namespace scenario::tool
