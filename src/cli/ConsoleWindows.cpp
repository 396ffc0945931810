#include "Console.h"

#include <atomic>
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

namespace {

DWORD echoing = 0;
std::atomic<bool> silenced{false};

} // namespace

std::string readLineWithoutEcho() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    GetConsoleMode(input, &echoing);
    silenced = true;
    SetConsoleMode(input, echoing & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    std::string line;
    std::getline(std::cin, line);
    restoreConsole();
    return line;
}

void restoreConsole() {
    if (silenced.exchange(false))
        SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), echoing);
}
