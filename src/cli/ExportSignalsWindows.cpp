#include "ExportSignals.h"

#include <atomic>
#include <windows.h>

namespace {

// What hears Ctrl+C, Ctrl+Break or the closing console while a run lives; one at a time.
std::atomic<const std::function<void()>*> listener{nullptr};

BOOL WINAPI onConsoleEvent(DWORD) {
    const std::function<void()>* heard = listener.load();
    if (!heard)
        return FALSE; // the default: the program ends
    (*heard)();       // Windows calls this on a thread of its own
    return TRUE;
}

} // namespace

void blockStopSignals() {
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

StopRequests::StopRequests(std::function<void()> heard) : heard_(std::move(heard)) {
    listener = &heard_;
}

StopRequests::~StopRequests() {
    listener = nullptr;
}
