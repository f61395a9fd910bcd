// A place where a driver's document disagrees with what the sources say:
// the document's file and line, a code and the words. The report prints and
// writes them as JSON beside the compile's own warnings.
#pragma once

#include <string>

namespace scenario::tool {

struct document_warning {
    std::string file;  // as the author would type it, UTF-8
    int line = 0;      // 1-based; 0: the whole file
    std::string code;  // "document-time", ...
    std::string message;
};

// The codes, for help texts and --ignore.
inline constexpr const char* document_warning_codes[] = {
    "document-unreadable", "document-station", "document-time", "document-km", "document-slowdown",
};

}  // namespace scenario::tool
