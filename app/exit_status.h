// Exit statuses of the program (the scenario package run). The author's tool
// has its own, with other meanings: tools/commands/exit_status.h.
#pragma once

namespace scenario::program_exit_status {
inline constexpr int completed = 0;            // every file written, no compile error recorded
inline constexpr int stopped = 1;              // stopped: a file failed, or errore() ended the run
inline constexpr int written_with_errors = 2;  // every file written, but the compile recorded errors
}  // namespace scenario::program_exit_status
