// Prepares a first run on the demo database: demo_setup FILE
// Creates the demo ERP database at FILE when it does not exist, and stores the demo
// connection only when no connection is stored yet.
#include "ToolUsage.h"
#include "demo_db/DemoDatabase.h"
#include "demo_db/Today.h"
#include "platform/CommandLine.h"
#include "settings/DBLinkInfo.h"

#include <cstdio>
#include <exception>
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
    try {
        if (!std::filesystem::exists(file)) {
            std::filesystem::create_directories(file.parent_path());
            std::printf("creating the demo database %s\n", utf8Of(file).c_str());
            generateDemoDatabase(utf8Of(file), kDefaultDemoSize, kDemoSeed, localToday());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo_setup: %s\n", error.what());
        return 1;
    }
    ConnectionSettings stored;
    if (!loadDBLinkInfo(stored)) {
        std::fprintf(stderr, "demo_setup: the stored connection cannot be read; left as it is\n");
        return 1;
    }
    if (!stored.user.empty()) {
        std::printf("a connection is stored already; left as it is\n");
        return 0;
    }
    const ConnectionSettings demo{"sqlite:" + utf8Of(file), "demo", "demo", ""};
    if (!writeDBLinkInfo(demo)) {
        std::fprintf(stderr, "demo_setup: the demo connection cannot be stored\n");
        return 1;
    }
    std::printf("stored the demo connection\n");
    return 0;
}
