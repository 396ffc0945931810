#include "Console.h"

#include <iostream>

std::string readLineWithoutEcho() {
    silenceConsole();
    std::string line;
    std::getline(std::cin, line);
    restoreConsole();
    return line;
}
