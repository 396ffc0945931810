#include "StatementCanceller.h"

StatementCanceller::~StatementCanceller() {
    if (thread_.joinable())
        thread_.join(); // a cancel under way ends before the statement goes
}

void StatementCanceller::cancel() {
    if (!thread_.joinable())
        thread_ = std::thread([statement = statement_] { SQLCancel(statement); });
}
