#pragma once

#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string_view>

// What every tool does with its options before anything else: --help prints the usage on
// standard output and ends the tool with 0; an option that is not in `options` prints the
// usage on standard error and ends it with 2, before anything is created. Nothing when the
// tool goes on.
inline std::optional<int>
helpOrUnknownOption(int argc, char** argv, const char* usage,
                    std::initializer_list<std::string_view> options = {}) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::printf("usage: %s\n", usage);
            return 0;
        }
        bool known = !argument.starts_with("-") || argument == "-";
        for (const std::string_view option : options)
            known |= argument == option;
        if (!known) {
            std::fprintf(stderr, "unknown option %.*s\nusage: %s\n",
                         static_cast<int>(argument.size()), argument.data(), usage);
            return 2;
        }
    }
    return std::nullopt;
}
