// The geo record read from beside the line source, as the page asks for it.
#include "tools/view/geo_overlay.h"

#include "tools/report/file_io.h"

#include <system_error>

namespace scenario::view {

reply geo_record_reply(const watched_sources& sources) {
    const std::filesystem::path file = sources.line.parent_path() / (sources.name + "_geo.json");
    std::error_code ec;
    reply r;
    if (!std::filesystem::is_regular_file(file, ec)) {
        r.status = 404;
        r.body = "no geo record";
        return r;
    }
    auto text = tool::read_file(file);
    if (!text) {
        r.status = 404;
        r.body = text.error();
        return r;
    }
    r.content_type = "application/json";
    r.body = std::move(*text);
    return r;
}

}  // namespace scenario::view
