// The import's geo record (NAME_geo.json beside the line source) for the
// page: the source's line drawn under the plan and the import's figures. It is
// plain JSON, so the page needs no GDAL.
#pragma once

#include "tools/view/live_scenario.h"
#include "tools/view/routes.h"

namespace scenario::view {

// The record's JSON, or JSON null when there is none beside the line source.
reply geo_record_reply(const watched_sources& sources);

}  // namespace scenario::view
