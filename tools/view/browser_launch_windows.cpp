// Windows: the shell opens the URL with the default browser.
#include "tools/view/browser_launch.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>  // needs windows.h before it
// clang-format on

namespace scenario::view {

bool open_in_browser(const std::string& url) {
    // The URL is plain ASCII (http://127.0.0.1:PORT/).
    const std::wstring wide(url.begin(), url.end());
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace scenario::view
