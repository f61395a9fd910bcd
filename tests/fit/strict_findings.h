// What `scenario check --strict` would find in two text sources: errors,
// parts left unread and warnings, in words (empty: nothing).
#pragma once

#include "compiler/unread_parts.h"
#include "tools/core/memory_compile.h"
#include "tools/fit/draft_sources.h"
#include "tools/words/warning_words.h"

#include <string>
#include <vector>

namespace scenario::fit {

inline std::vector<std::string> strict_findings(const draft_texts& t) {
    const tool::compiled_sources c = tool::compile_texts(t.line, t.run, {"Bozza", "101"}, true);
    std::vector<std::string> found;
    for (const tool::diagnosis& e : c.errors)
        found.push_back("error: " + e.message);
    if (c.state->codice_errore != 0)
        found.push_back("error " + std::to_string(c.state->codice_errore));
    for (const unread_part& u : unread_parts(*c.state, c.log))
        found.push_back("unread part " + std::to_string(static_cast<int>(u.cause)));
    const tool::worded_warnings w = tool::word_warnings(*c.state, c.log, {});
    for (const tool::worded_warning& x : w.list)
        found.push_back("warning line " + std::to_string(x.line) + ": " + x.message);
    for (const auto& [code, count] : w.not_shown)
        found.push_back(std::to_string(count) + " more warnings");
    return found;
}

}  // namespace scenario::fit
