#pragma once

#include <cstddef>

// Address space taken once and given memory step by step as it fills, so that what lies in it
// never moves: readers on other threads may keep reading while it grows.
namespace addressSpace {

// Memory is given in steps of this many bytes (a large page where the system has them).
inline constexpr std::size_t kStep = std::size_t{2} << 20;

// Reserves `bytes` (a multiple of kStep), none of it usable yet; null when the system refuses.
void* reserve(std::size_t bytes);
// Makes [at, at + bytes) of a reservation usable; false when the system has no memory for it.
bool commit(void* at, std::size_t bytes);
// Gives back a whole reservation.
void release(void* at, std::size_t bytes) noexcept;

} // namespace addressSpace
