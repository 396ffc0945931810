#include "FreedMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void returnFreedMemoryToTheSystem() {
#if defined(__GLIBC__)
    // A fixed threshold: glibc would otherwise raise it to 32 MB as large blocks are freed,
    // and keep every later large block on a heap that cannot shrink past what lies above it.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    mallopt(M_ARENA_MAX, 2);
#endif
}
