#include "Console.h"

#include <fcntl.h>
#include <io.h>
#include <iostream>
#include <windows.h>

bool inputIsTerminal() {
    return _isatty(0);
}

bool errorsAreTerminal() {
    return _isatty(2);
}

void binaryStandardOutput() {
    _setmode(1, _O_BINARY);
}

std::string readLineWithoutEcho() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD before = 0;
    GetConsoleMode(input, &before);
    SetConsoleMode(input, before & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    std::string line;
    std::getline(std::cin, line);
    SetConsoleMode(input, before);
    return line;
}
