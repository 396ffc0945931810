#pragma once

#include "AddressSpace.h"
#include "DbError.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

// An array that grows only at its end and whose elements never move once written, so that
// other threads may read the elements published to them while one writer appends more. Small,
// it lives on the heap, and the smaller blocks it outgrew stay until it goes (a reader may still
// hold one); past kHeapBytes it moves once into address space reserved for its largest size,
// which is given memory as it fills.
template <typename T> class GrowingArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    static constexpr std::size_t kHeapBytes = std::size_t{64} << 10;

    // It never holds more than `maxElements`; DbError beyond.
    explicit GrowingArray(std::size_t maxElements) : max_(maxElements) {}
    // Only while no other thread reads it.
    GrowingArray(GrowingArray&& other) noexcept
        : write_(other.write_), read_(other.read_.load()), size_(other.size_),
          capacity_(other.capacity_), max_(other.max_), reservedBytes_(other.reservedBytes_),
          heapBlocks_(std::move(other.heapBlocks_)) {
        other.write_ = nullptr;
        other.read_ = nullptr;
        other.size_ = other.capacity_ = other.reservedBytes_ = 0;
    }
    GrowingArray& operator=(GrowingArray&&) = delete;
    ~GrowingArray() {
        if (reservedBytes_ > 0)
            addressSpace::release(write_, reservedBytes_);
    }

    // The writer's side.
    void push_back(T value) {
        if (size_ == capacity_)
            grow(size_ + 1);
        write_[size_++] = value;
    }
    void append(const T* values, std::size_t count) {
        if (capacity_ - size_ < count)
            grow(size_ + count);
        std::memcpy(write_ + size_, values, count * sizeof(T));
        size_ += count;
    }
    T& back() { return write_[size_ - 1]; }
    std::size_t size() const { return size_; }
    // The memory it holds: its heap block, or the pages of its reservation that it filled
    // (memory given to the rest is taken by the system only when first written).
    std::size_t memoryBytes() const {
        constexpr std::size_t kPage = 4096;
        return reservedBytes_ == 0 ? capacity_ * sizeof(T)
                                   : (size_ * sizeof(T) + kPage - 1) / kPage * kPage;
    }

    // Any thread, for the elements published to it.
    const T* data() const { return read_.load(std::memory_order_relaxed); }
    const T& operator[](std::size_t index) const { return data()[index]; }

private:
    void grow(std::size_t needed);
    void reserveAddressSpace(std::size_t needed);

    T* write_ = nullptr;
    std::atomic<const T*> read_{nullptr};
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    std::size_t max_;
    std::size_t reservedBytes_ = 0; // 0 while on the heap
    std::vector<std::unique_ptr<T[]>> heapBlocks_;
};

template <typename T> void GrowingArray<T>::grow(std::size_t needed) {
    if (needed > max_)
        throw DbError("the result is larger than a query can hold");
    if (reservedBytes_ == 0 && needed * sizeof(T) <= kHeapBytes) {
        const std::size_t capacity = std::min(
            std::max<std::size_t>({needed, 2 * capacity_, 64 / sizeof(T)}), kHeapBytes / sizeof(T));
        auto block = std::make_unique_for_overwrite<T[]>(capacity);
        if (size_ > 0)
            std::memcpy(block.get(), write_, size_ * sizeof(T));
        write_ = block.get();
        heapBlocks_.push_back(std::move(block));
        capacity_ = capacity;
        read_.store(write_, std::memory_order_relaxed);
        return;
    }
    if (reservedBytes_ == 0) {
        reserveAddressSpace(needed);
        return;
    }
    // Memory in steps of a quarter of what it holds, at least one large page.
    const std::size_t committed = capacity_ * sizeof(T);
    const std::size_t wanted =
        std::max({needed * sizeof(T), committed + committed / 4, committed + addressSpace::kStep});
    const std::size_t bytes =
        std::min((wanted + addressSpace::kStep - 1) / addressSpace::kStep * addressSpace::kStep,
                 reservedBytes_);
    if (bytes < needed * sizeof(T))
        throw DbError("the result is larger than this computer lets the program hold");
    if (!addressSpace::commit(write_, bytes))
        throw std::bad_alloc();
    capacity_ = bytes / sizeof(T);
}

// Address space for the largest size, or as much as the system gives, with memory for `needed`
// elements, and the heap block's elements moved into it.
template <typename T> void GrowingArray<T>::reserveAddressSpace(std::size_t needed) {
    const auto steps = [](std::size_t bytes) {
        return (bytes + addressSpace::kStep - 1) / addressSpace::kStep * addressSpace::kStep;
    };
    std::size_t bytes = steps(max_ * sizeof(T));
    void* space = nullptr;
    while (!(space = addressSpace::reserve(bytes))) {
        if (bytes <= steps(2 * needed * sizeof(T)))
            throw std::bad_alloc();
        bytes = steps(bytes / 2);
    }
    const std::size_t first = std::min(steps(needed * sizeof(T)), bytes);
    if (!addressSpace::commit(space, first)) {
        addressSpace::release(space, bytes);
        throw std::bad_alloc();
    }
    auto* moved = static_cast<T*>(space);
    if (size_ > 0)
        std::memcpy(moved, write_, size_ * sizeof(T));
    write_ = moved;
    reservedBytes_ = bytes;
    capacity_ = first / sizeof(T);
    read_.store(write_, std::memory_order_relaxed);
}
