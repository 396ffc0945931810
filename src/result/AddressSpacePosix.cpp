#include "AddressSpace.h"

#include <cstdint>
#include <sys/mman.h>

namespace addressSpace {

void* reserve(std::size_t bytes) {
    // Taken a step larger, then trimmed to a step's boundary, so that large pages fit.
    const std::size_t taken = bytes + kStep;
    void* raw = mmap(nullptr, taken, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kStep - 1) / kStep * kStep;
    if (aligned > start)
        munmap(raw, aligned - start);
    if (const std::size_t tail = taken - (aligned - start) - bytes; tail > 0)
        munmap(reinterpret_cast<void*>(aligned + bytes), tail);
    return reinterpret_cast<void*>(aligned);
}

bool commit(void* at, std::size_t bytes) {
    if (mprotect(at, bytes, PROT_READ | PROT_WRITE) != 0)
        return false;
#ifdef MADV_HUGEPAGE
    // Large pages only for what is large already: a small array would take a whole large page
    // for a few of its bytes. Only a hint: refusal is harmless.
    if (bytes >= 4 * kStep)
        madvise(at, bytes, MADV_HUGEPAGE);
#endif
    return true;
}

void release(void* at, std::size_t bytes) noexcept {
    munmap(at, bytes);
}

} // namespace addressSpace
