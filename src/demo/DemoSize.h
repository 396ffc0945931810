#pragma once

// How much the demo ERP database holds.
struct DemoSize {
    int warehouses;
    int items;
    int stockRecords;
    int journalLines;
};

inline constexpr DemoSize kDefaultDemoSize{20, 3000, 30'000, 100'000};
// For benchmarks: two-character warehouse codes allow at most 99 warehouses.
inline constexpr DemoSize kLargeDemoSize{90, 60'000, 1'000'000, 1'000'000};
