// The language server on standard input and output: a thread reads and
// frames messages, the caller's thread handles them and compiles once the
// input has been quiet for a moment, so a burst of keystrokes costs one compile.
#pragma once

#include <chrono>

namespace scenario::tool::lsp {

// How long the input must stay quiet before changed files compile.
inline constexpr std::chrono::milliseconds quiet_period{25};

// Serves until "exit" or the end of the input; the process's exit status.
int serve_stdio();

}  // namespace scenario::tool::lsp
