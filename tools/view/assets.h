// The page's files (HTML, CSS, JavaScript), built into the executable from
// tools/view/assets/ so the viewer needs no file and no network beside it.
#pragma once

#include <string_view>

namespace scenario::view {

struct asset {
    std::string_view path;  // "/index.html"
    std::string_view content_type;
    std::string_view content;
};

// The asset served at `path`; nothing for any other path.
const asset* find_asset(std::string_view path);

}  // namespace scenario::view
