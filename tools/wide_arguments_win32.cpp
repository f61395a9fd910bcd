// The only file of the tool that includes a Windows header.
#include "tools/wide_arguments.h"

#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

namespace scenario::tool {

namespace {

std::string to_utf8(const wchar_t* wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(size - 1));  // the terminating NUL
    return utf8;
}

}  // namespace

std::vector<std::string> utf8_arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) {
        // Cannot happen short of running out of memory; the narrow words are
        // still better than none.
        return argc <= 1 ? std::vector<std::string>{} : std::vector<std::string>(argv + 1, argv + argc);
    }
    std::vector<std::string> words;
    for (int i = 1; i < count; ++i)
        words.push_back(to_utf8(wide[i]));
    LocalFree(wide);
    return words;
}

}  // namespace scenario::tool
