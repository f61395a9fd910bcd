// Replacing a file whole, for the text files and the compiled files alike.
#pragma once

#include "common/result.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace scenario {

// The step of a replacement that failed.
enum class replace_step {
    open,     // the file itself could not be opened for writing
    create,   // the temporary file could not be created
    write,    // the content could not be written in full
    replace,  // the temporary file could not be renamed over the file
};

// What went wrong, as facts: the step, the file it concerns and the system's
// error. Callers word it for their readers.
struct file_failure {
    replace_step step = replace_step::open;
    std::filesystem::path file;  // the temporary file for `create`, the file itself otherwise
    std::error_code cause;       // generic (errno) or system category; empty when unknown
};

// Replaces the file at `percorso` with `contenuto`.
//
// The file is first opened for writing (created when missing) and closed, so a
// file that cannot be replaced stops the caller before anything changes. The new
// content then goes to a temporary file in the same directory, which is renamed
// over the old file in one step: a failure while writing (a full disk, a killed
// process) never leaves a truncated file where a good one stood. On failure the
// temporary file is removed. Gives nothing on success, else the failure.
result<void, file_failure> replace_file(const std::filesystem::path& percorso, std::string_view contenuto);

// Takes the next piece of a file's content.
using piece_writer = std::function<void(std::string_view)>;

// replace_file for content made piece by piece: `produce` hands every piece,
// in order, to the writer it is given, and the pieces go to the temporary
// file as they come. After a failed write the later pieces are dropped.
result<void, file_failure> replace_file_in_pieces(const std::filesystem::path& percorso,
                                                  const std::function<void(const piece_writer&)>& produce);

// The failure in plain English: the step's phrase, the file in quotes, the
// cause: `cannot open "PATH": CAUSE`.
std::string describe_failure(const file_failure& f);
const char* failure_phrase(replace_step step);  // "cannot open", "cannot create", ...

// replace_file, its failure described in English.
result<void> sostituisci_file(const std::filesystem::path& percorso, std::string_view contenuto);

}  // namespace scenario
