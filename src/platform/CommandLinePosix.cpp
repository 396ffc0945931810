#include "CommandLine.h"

std::vector<std::string> commandArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}
