// Linux and other POSIX desktops: xdg-open, started without a shell.
#include "tools/view/browser_launch.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace scenario::view {

bool open_in_browser(const std::string& url) {
    std::string program = "xdg-open";
    std::string argument = url;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        return false;
    // xdg-open hands the page to the browser and ends soon.
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace scenario::view
