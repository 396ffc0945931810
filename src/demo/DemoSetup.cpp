#include "DemoSetup.h"

#include "DemoDatabase.h"
#include "Today.h"
#include "platform/CommandLine.h"
#include "settings/DBLinkInfo.h"

#include <exception>
#include <filesystem>

DemoPreparation prepareDemoConnection(const std::string& file) {
    DemoPreparation done;
    const auto told = [&done](const std::string& line) { done.said.push_back(line); };
    const auto failed = [&done, &told](const std::string& line) {
        told(line);
        done.ok = false;
        return done;
    };
    try {
        const std::filesystem::path path = pathFromUtf8(file);
        if (!std::filesystem::exists(path)) {
            std::filesystem::create_directories(path.parent_path());
            told("creating the demo database " + file);
            generateDemoDatabase(file, kDefaultDemoSize, kDemoSeed, localToday());
        }
    } catch (const std::exception& error) {
        return failed(std::string("cannot make the demo database: ") + error.what());
    }
    ConnectionSettings stored;
    if (!loadDBLinkInfo(stored))
        return failed("the stored connection cannot be read; left as it is");
    if (!stored.user.empty()) {
        told("a connection is stored already; left as it is");
        return done;
    }
    if (!writeDBLinkInfo({"sqlite:" + file, "demo", "demo", ""}))
        return failed("the demo connection cannot be stored");
    told("stored the demo connection");
    return done;
}
