// Prepares a first run on the demo database: demo_setup FILE
// Creates the demo ERP database at FILE when it does not exist, and stores the demo
// connection only when no connection is stored yet.
#include "ToolUsage.h"
#include "demo/DemoSetup.h"
#include "platform/CommandLine.h"

#include <cstdio>
#include <filesystem>

constexpr const char* kUsage = "demo_setup FILE";

int main(int argc, char** argv) {
    if (const auto status = helpOrUnknownOption(argc, argv, kUsage))
        return *status;

    const std::vector<std::string> arguments = commandArguments(argc, argv);
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: %s\n", kUsage);
        return 2;
    }
    const std::filesystem::path file = std::filesystem::absolute(pathFromUtf8(arguments[0]));
    const DemoPreparation done = prepareDemoConnection(utf8Of(file));
    for (std::size_t line = 0; line < done.said.size(); ++line) {
        if (!done.ok && line + 1 == done.said.size())
            std::fprintf(stderr, "demo_setup: %s\n", done.said[line].c_str());
        else
            std::printf("%s\n", done.said[line].c_str());
    }
    return done.ok ? 0 : 1;
}
