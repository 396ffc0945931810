#pragma once

struct sqlite3;

// Makes a SQLite connection answer DATEDIFF('day', start, end) as SQL Server answers
// DATEDIFF(day, start, end): the midnights from the first day to the second, negative when
// the second is earlier, null when either is null or no date (tsqlToSqlite quotes the unit).
// Returns SQLite's result code.
int useTsqlDateDiff(sqlite3* db);
