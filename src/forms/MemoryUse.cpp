#include "MemoryUse.h"

#include "platform/FreedMemory.h"

#include <QPixmapCache>

namespace {
// The style caches what it draws by size and colours. Windows made and closed all day filled
// Qt's 10 MB with drawings that were not asked for again (13 KB a cycle of the soak bench),
// while the windows open at one time use far less than this.
constexpr int kPixmapCacheKilobytes = 2048;
} // namespace

void limitMemoryHeldAllDay() {
    QPixmapCache::setCacheLimit(kPixmapCacheKilobytes);
    returnFreedMemoryToTheSystem();
}
