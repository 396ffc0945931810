#pragma once

#include "DemoSize.h"

#include <cstdint>
#include <string>

struct CivilDateTime;

// Writes a new demo ERP database to `path` (replacing any file there): master data, current
// stock and two years of receipt and issue documents up to `today`, the same for the same
// seed and day. Throws std::runtime_error when the file cannot be written.
void generateDemoDatabase(const std::string& path, const DemoSize& size, std::uint64_t seed,
                          const CivilDateTime& today);

inline constexpr std::uint64_t kDemoSeed = 20261207;
