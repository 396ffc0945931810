#include "AddressSpace.h"

#include <windows.h>

namespace addressSpace {

void* reserve(std::size_t bytes) {
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS);
}

bool commit(void* at, std::size_t bytes) {
    return VirtualAlloc(at, bytes, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

void release(void* at, std::size_t) noexcept {
    VirtualFree(at, 0, MEM_RELEASE);
}

} // namespace addressSpace
