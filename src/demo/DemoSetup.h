#pragma once

#include <string>
#include <vector>

// What preparing the demo did: a line for each step; when it failed, the last line says why.
struct DemoPreparation {
    bool ok = true;
    std::vector<std::string> said;
};

// What a first run on the demo needs: the demo ERP database at `file` (a UTF-8 path; made when
// it is not there) and its connection stored, unless a connection is stored already.
DemoPreparation prepareDemoConnection(const std::string& file);
