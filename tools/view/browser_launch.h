// Opening a page in the person's default browser; one file per platform.
#pragma once

#include <string>

namespace scenario::view {

// Asks the desktop to open `url`; gives false when it could not even ask.
bool open_in_browser(const std::string& url);

}  // namespace scenario::view
