#pragma once

#include "ExportArguments.h"

#include <ostream>

// The exit statuses of stockquery-export.
enum ExitStatus : int {
    kDone = 0,
    kBadArguments = 2,
    kNoConnection = 3,
    kQueryFailed = 4,
    kWriteFailed = 5,
    kInterrupted = 130,
};

// Runs one request: connects, reads the rows on the statement and with the fields of the
// window that shows them, lays them out as that window's grid does (sorted as a title click
// would), and writes them with the same writer as the window's 输出, to a file replaced only
// when whole, or to standard output for "-". SIGINT and SIGTERM stop it; the target then keeps
// its old content. Problems are one line each on `errors`, never with the password; progress
// goes there too while `errors` is a terminal.
int runExport(const ExportRequest& request, std::ostream& errors);
