#include "tools/fit/draft_sources.h"

namespace scenario::fit {

draft_result write_draft(const draft&) {
    return {};
}

}  // namespace scenario::fit
