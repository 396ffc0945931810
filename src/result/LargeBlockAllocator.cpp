#include "LargeBlockAllocator.h"

#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

bool isLarge(std::size_t bytes) {
    return bytes >= 2 * kHugePage;
}

std::size_t roundedUp(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

} // namespace
#endif

void* allocateLarge(std::size_t bytes) {
#ifdef __linux__
    if (isLarge(bytes)) {
        void* block = std::aligned_alloc(kHugePage, roundedUp(bytes));
        if (!block)
            throw std::bad_alloc();
        madvise(block, roundedUp(bytes), MADV_HUGEPAGE); // only a hint: refusal is harmless
        return block;
    }
#endif
    return ::operator new(bytes);
}

void freeLarge(void* block, std::size_t bytes) noexcept {
#ifdef __linux__
    if (isLarge(bytes)) {
        std::free(block);
        return;
    }
#endif
    ::operator delete(block, bytes);
}
