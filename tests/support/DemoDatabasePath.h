#pragma once

#include <cstdlib>
#include <string>

// The demo database that the test fixture generated for this build (default size).
inline std::string demoDatabasePath() {
    const char* path = std::getenv("STOCKQUERY_DEMO_DB");
    return path ? path : "demo-test.sqlite";
}
