#pragma once

#include <chrono>
#include <functional>

// Once the main window has closed, the program has a second to end by itself. Work that still
// waits in a driver then (a server that stopped answering, a log-in waiting out its time-out)
// is not waited for: the program's `end` runs on a thread of its own.
namespace programEnd {

// From now on a closing main window starts the count; by default `end` removes the partial
// files of unfinished exports and ends the process at once.
void arm(std::chrono::milliseconds grace = std::chrono::seconds(1), std::function<void()> end = {});
void disarm();
// The main window has closed.
void begin();

} // namespace programEnd
