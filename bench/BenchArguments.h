#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

// What every benchmark is given: a demo database file and how many runs to take the best of.
struct BenchArguments {
    std::string file; // absolute
    int runs;
};

// Reads "DEMO_FILE [RUNS]"; without a file, prints "usage: " and `usage` and gives nothing.
inline std::optional<BenchArguments> benchArguments(int argc, char** argv, const char* usage,
                                                    int defaultRuns) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s\n", usage);
        return std::nullopt;
    }
    return BenchArguments{std::filesystem::absolute(argv[1]).string(),
                          argc > 2 ? std::atoi(argv[2]) : defaultRuns};
}
