// The `scenario` command-line tool; everything it does is in scenario_tool.
#include "tools/command_line.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> parole(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int esito = scenario::strumento::esegui(parole, std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? esito : 2;
}
