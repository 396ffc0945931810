#include "ProgramEnd.h"

#include "db/Connection.h"
#include "platform/PartialFiles.h"

#include <cstdlib>
#include <mutex>
#include <thread>

namespace programEnd {

namespace {

std::mutex mutex;
std::chrono::milliseconds armedGrace{0};
std::function<void()> armedEnd;

} // namespace

void arm(std::chrono::milliseconds grace, std::function<void()> end) {
    if (!end)
        end = [] {
            PartialFiles::instance().abandon();
            Connection::removeDriverFiles();
            std::_Exit(0);
        };
    const std::lock_guard lock(mutex);
    armedGrace = grace;
    armedEnd = std::move(end);
}

void disarm() {
    const std::lock_guard lock(mutex);
    armedEnd = nullptr;
}

void begin() {
    const std::lock_guard lock(mutex);
    if (!armedEnd)
        return;
    std::thread([grace = armedGrace, end = armedEnd] {
        std::this_thread::sleep_for(grace);
        end();
    }).detach();
}

} // namespace programEnd
