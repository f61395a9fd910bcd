// The release version of the program and the tool; the build reads it from
// here too (packages, file names), so this is the one place it is set.
#pragma once

namespace scenario {
inline constexpr const char* program_version = "1.1.0";
}  // namespace scenario
