#include "Console.h"

#include <iostream>
#include <termios.h>
#include <unistd.h>

bool inputIsTerminal() {
    return isatty(0);
}

bool errorsAreTerminal() {
    return isatty(2);
}

void binaryStandardOutput() {}

std::string readLineWithoutEcho() {
    termios before{};
    tcgetattr(0, &before);
    termios silent = before;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(0, TCSANOW, &silent);
    std::string line;
    std::getline(std::cin, line);
    tcsetattr(0, TCSANOW, &before);
    return line;
}
