// Shows the program's window for the number of seconds given on the command
// line, then closes it: a way to look at the window without running the program.
#include "app/platform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    char* fine = nullptr;
    const long secondi = argc == 2 ? std::strtol(argv[1], &fine, 10) : -1;
    if (argc != 2 || fine == argv[1] || *fine != '\0' || secondi < 0 || secondi > 3600) {
        std::fprintf(stderr, "usage: window_preview SECONDS (0 to 3600)\n");
        return 2;
    }

    auto finestra = scenario::piattaforma::mostra_finestra();
    if (!finestra) {
        std::fprintf(stderr, "window_preview: no display, the window cannot be shown\n");
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(secondi));
    return 0;
}
