// Writes a demo ERP database: make_demo_db [--large] [--seed N] FILE
#include "ToolUsage.h"
#include "demo/DemoDatabase.h"
#include "demo/Today.h"
#include "platform/CommandLine.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

constexpr const char* kUsage = "make_demo_db [--large] [--seed N] FILE";

int main(int argc, char** argv) {
    if (const auto status = helpOrUnknownOption(argc, argv, kUsage, {"--large", "--seed"}))
        return *status;

    DemoSize size = kDefaultDemoSize;
    std::uint64_t seed = kDemoSeed;
    std::string path;
    const std::vector<std::string> arguments = commandArguments(argc, argv);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--large")
            size = kLargeDemoSize;
        else if (arg == "--seed" && i + 1 < arguments.size())
            seed = std::strtoull(arguments[++i].c_str(), nullptr, 10);
        else if (path.empty() && !arg.starts_with("--"))
            path = arg;
        else
            path.clear(), i = arguments.size();
    }
    if (path.empty()) {
        std::fprintf(stderr, "usage: %s\n", kUsage);
        return 2;
    }
    try {
        generateDemoDatabase(path, size, seed, localToday());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_demo_db: %s\n", error.what());
        return 1;
    }
    return 0;
}
