#pragma once

#include "support/UnderSanitizers.h"

#include <QtTest>

// How long a test waits for what is bound to happen (a window shown, rows arrived, work ended,
// a message, a tooltip): long enough for two cores busy with other builds under the sanitizers,
// where a wait that takes a second on a quiet machine took 38, and never waited out by a test
// that passes, since each wait ends as soon as its event comes. A test program's own time limit
// in CTest ends a run that hangs.
inline constexpr int kEventWait = 60000; // ms

// Qt Test's QTRY_* wait five seconds: here as long as every other wait for an event.
#undef QTRY_VERIFY
#define QTRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT((expr), kEventWait)
#undef QTRY_VERIFY2
#define QTRY_VERIFY2(expr, message) QTRY_VERIFY2_WITH_TIMEOUT((expr), (message), kEventWait)
#undef QTRY_COMPARE
#define QTRY_COMPARE(expr, expected) QTRY_COMPARE_WITH_TIMEOUT((expr), (expected), kEventWait)

// A bound on work that must end at once (a cancel heard, a window closed) as the test measures
// it on a machine shared with other builds, and under the sanitizers, which make the program
// several times slower: still far below what work that waits for its server takes.
inline constexpr int kSlowness = kUnderSanitizers ? 6 : 3;
constexpr qint64 promptly(qint64 ms) {
    return ms * kSlowness;
}
