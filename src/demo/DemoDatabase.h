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

// The remark of the stock carried over into the ERP without a document: more than its
// receipts less its issues.
inline constexpr const char* kCarriedOverRemark = "期初结转";

inline constexpr std::uint64_t kDemoSeed = 20261207;
