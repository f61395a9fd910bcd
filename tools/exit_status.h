// Exit statuses of the tool, the same for every command.
#pragma once

namespace scenario::strumento::uscita {
inline constexpr int riuscita = 0;  // done; no error found in the input
inline constexpr int errori_trovati =
    1;                         // done, but the input holds errors (a compile error, an invalid file)
inline constexpr int uso = 2;  // could not run: usage error, unreadable input, unwritable output
}  // namespace scenario::strumento::uscita
