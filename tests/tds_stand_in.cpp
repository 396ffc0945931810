// The TDS stand-in for SQL Server as a program of its own, for clients outside the tests (the
// Windows build under Wine): serves the ERP data of a SQLite file on a free loopback port,
// prints "host,port" and a line break, and ends when its standard input ends.
//   tds_stand_in SQLITE_FILE
#include "support/tds/ErpTdsResponder.h"
#include "support/tds/TdsServer.h"

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tds_stand_in SQLITE_FILE\n");
        return 2;
    }
    TdsServer server{ErpTdsResponder(argv[1])};
    std::cout << server.address() << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}
