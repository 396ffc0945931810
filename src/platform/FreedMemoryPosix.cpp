#include "FreedMemory.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

void returnFreedMemoryToTheSystem() {
#if defined(M_MMAP_THRESHOLD) && defined(M_ARENA_MAX) // glibc's
    // A fixed threshold: glibc would otherwise raise it to 32 MB as large blocks are freed,
    // and keep every later large block on a heap that cannot shrink past what lies above it.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    mallopt(M_ARENA_MAX, 2);
#endif
}
