// The three driver documents of any scenario, derived from its compile (the
// route facts) and the author's details, ready for the layouts the program's
// own documents use.
#pragma once

#include "common/result.h"
#include "compiler/state.h"
#include "sources/notes_layout.h"
#include "sources/slow_order_layout.h"
#include "sources/train_card_layout.h"
#include "tools/core/scenario_names.h"
#include "tools/documents/author_details.h"

#include <string>
#include <vector>

namespace scenario {
struct compile_log;
}

namespace scenario::tool {

struct package_documents {
    sorgenti::train_card card;
    sorgenti::slow_order order;
    sorgenti::scenario_notes notes;
};

// The documents of a compiled scenario. Fails when the details name a
// station the run does not have, give a passing time to a station that has
// its own time, or list more slowdowns than the run has.
result<package_documents> derive_documents(const stato_scenario& s, const compile_log* log,
                                           const scenario_names& names, const author_details& details);

// Each document as its file: name and bytes (Windows-1252, CR LF).
struct document_file {
    std::string name;
    std::string bytes;
};
std::vector<document_file> document_files(const package_documents& d, const scenario_names& names);

}  // namespace scenario::tool
