// The TDS stand-in for SQL Server as a program of its own, for clients outside the tests (the
// Windows build under Wine): serves the ERP data of a SQLite file on a free loopback port,
// prints "host,port" and a line break, and ends when its standard input ends; with a
// certificate and its key it can encrypt, and insists on it when told.
//   tds_stand_in SQLITE_FILE [CERTIFICATE KEY [required]]
#include "support/tds/ErpTdsResponder.h"
#include "support/tds/TdsServer.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() != 1 && arguments.size() != 3 &&
        !(arguments.size() == 4 && arguments[3] == "required")) {
        std::fprintf(stderr, "usage: tds_stand_in SQLITE_FILE [CERTIFICATE KEY [required]]\n");
        return 2;
    }
    TdsServerOptions options;
    if (arguments.size() >= 3) {
        options.encryption = arguments.size() == 4 ? TdsServerOptions::Encryption::required
                                                   : TdsServerOptions::Encryption::supported;
        options.certificateFile = arguments[1];
        options.keyFile = arguments[2];
    }
    TdsServer server{ErpTdsResponder(arguments[0]), options};
    std::cout << server.address() << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}
