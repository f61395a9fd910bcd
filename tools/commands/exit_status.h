// Exit statuses of the tool, the same for every command. The program has its
// own, with 1 and 2 the other way round: app/exit_status.h.
#pragma once

namespace scenario::tool::exit_status {
inline constexpr int success = 0;       // done; no error found in the input
inline constexpr int errors_found = 1;  // done, but the input holds errors (a compile error, an invalid file)
inline constexpr int usage = 2;         // could not run: usage error, unreadable input, unwritable output

// The statuses in words, for the end of every help.
inline constexpr const char* help =
    "Exit status: 0 success, 1 the input holds errors (a compile error, an invalid\n"
    "compiled file), 2 usage error, unreadable input or unwritable output.";
}  // namespace scenario::tool::exit_status
