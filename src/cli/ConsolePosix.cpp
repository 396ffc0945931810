#include "Console.h"

#include <atomic>
#include <termios.h>
#include <unistd.h>

bool inputIsTerminal() {
    return isatty(0);
}

bool errorsAreTerminal() {
    return isatty(2);
}

void binaryStandardOutput() {}

void consoleTakesWideText() {}

namespace {

termios echoing{};
std::atomic<bool> silenced{false};

} // namespace

void silenceConsole() {
    tcgetattr(0, &echoing);
    termios silent = echoing;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    silenced = true;
    tcsetattr(0, TCSANOW, &silent);
}

void restoreConsole() {
    if (silenced.exchange(false))
        tcsetattr(0, TCSANOW, &echoing);
}
