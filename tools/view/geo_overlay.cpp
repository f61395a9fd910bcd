// The geo record read from beside the line source, as the page asks for it.
#include "tools/view/geo_overlay.h"

#include "tools/core/file_io.h"

#include <system_error>

namespace scenario::view {

reply geo_record_reply(const watched_sources& sources) {
    const std::filesystem::path file = sources.line.parent_path() / (sources.name + "_geo.json");
    std::error_code ec;
    reply r;
    r.content_type = "application/json";
    // No record is the usual case, not a fault: JSON null, which the page
    // takes as "draw nothing" (a 404 would count as an error in the browser).
    r.body = "null";
    if (!std::filesystem::is_regular_file(file, ec))
        return r;
    if (auto text = tool::read_file(file))
        r.body = std::move(*text);
    return r;
}

}  // namespace scenario::view
