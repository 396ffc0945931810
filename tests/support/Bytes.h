#pragma once

#include "export/Cp936.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A text as code page 936 bytes, the way the exports write it.
inline std::string cp936(const char* utf8) {
    return toCp936(QString::fromUtf8(utf8)).toStdString();
}

// Everything a file holds.
inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
