#pragma once

#include <cstddef>
#include <new>
#include <vector>

// Memory of a few megabytes and more is asked for in 2 MiB pages where the system offers them
// (Linux), which spares the processor most address translations when a sorted grid reads its
// columns in scattered order. Smaller blocks come from the ordinary heap.
void* allocateLarge(std::size_t bytes);
void freeLarge(void* block, std::size_t bytes) noexcept;

template <typename T> struct LargeBlockAllocator {
    using value_type = T;
    LargeBlockAllocator() = default;
    template <typename U> LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(allocateLarge(n * sizeof(T))); }
    void deallocate(T* block, std::size_t n) noexcept { freeLarge(block, n * sizeof(T)); }
    friend bool operator==(const LargeBlockAllocator&, const LargeBlockAllocator&) { return true; }
};

template <typename T> using LargeVector = std::vector<T, LargeBlockAllocator<T>>;
