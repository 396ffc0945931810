#include "SqliteBackend.h"

#include "SqliteValueReader.h"
#include "TsqlText.h"
#include "TsqlToSqlite.h"
#include "db/ColumnPlan.h"
#include "result/DbError.h"

#include <sqlite3.h>

#include <memory>

namespace {

struct StatementCloser {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

// While it lives, the statements of `db` stop with SQLITE_INTERRUPT once `control` asks.
class ProgressHandler {
public:
    static constexpr int kStepsPerCheck = 10000;
    ProgressHandler(sqlite3* db, WorkControl& control) : db_(db) {
        sqlite3_progress_handler(
            db, kStepsPerCheck,
            [](void* watched) { return static_cast<WorkControl*>(watched)->cancelled() ? 1 : 0; },
            &control);
    }
    ~ProgressHandler() { sqlite3_progress_handler(db_, 0, nullptr, nullptr); }
    ProgressHandler(const ProgressHandler&) = delete;
    ProgressHandler& operator=(const ProgressHandler&) = delete;

private:
    sqlite3* db_;
};

bool onlyBlanks(const char* text) {
    for (; *text; ++text)
        if (static_cast<unsigned char>(*text) > 32)
            return false;
    return true;
}

} // namespace

SqliteBackend::SqliteBackend(const std::string& path) {
    const int rc =
        sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        throw DbError("cannot open " + path + ": " + message);
    }
    try {
        // The demo compares texts and answers LIKE as the ERP's SQL Server does.
        if (useTsqlTextRules(db_) != SQLITE_OK)
            throw DbError(sqlite3_errmsg(db_));
        // An attached database inherits the read-only flag of the main one.
        execute("ATTACH DATABASE ?1 AS dbo", path);
        execute("SELECT count(*) FROM main.sqlite_master", {});
        // A page cache of 16 MiB per schema holds the master tables that every row of a
        // join looks up; a statement reads through one of the two schemas.
        execute("PRAGMA main.cache_size = -16384", {});
        execute("PRAGMA dbo.cache_size = -16384", {});
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

SqliteBackend::~SqliteBackend() {
    sqlite3_close(db_);
}

void SqliteBackend::execute(const char* sql, const std::string& boundText) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &raw, nullptr) != SQLITE_OK)
        throw DbError(sqlite3_errmsg(db_));
    Statement statement(raw);
    if (!boundText.empty())
        sqlite3_bind_text(raw, 1, boundText.c_str(), static_cast<int>(boundText.size()),
                          SQLITE_TRANSIENT);
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        throw DbError(sqlite3_errmsg(db_));
}

void SqliteBackend::fetchInto(const std::string& commandText, std::span<const FieldDecl> declared,
                              WorkControl& control, RowArrival& into) {
    const std::string sql = tsqlToSqlite(commandText);
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, &tail) !=
        SQLITE_OK)
        throw DbError(sqlite3_errmsg(db_));
    Statement statement(raw);
    if (!raw || !onlyBlanks(tail))
        throw DbError("the command text must hold exactly one statement");
    if (!sqlite3_stmt_readonly(raw))
        throw DbError("only reading statements are run");
    // SQLite asks the control for a stop every few thousand steps of its machine: unlike
    // sqlite3_interrupt, which a statement that has not started yet forgets, it cannot miss one.
    control.throwIfCancelled();
    const ProgressHandler stopWhenCancelled(db_, control);

    // An undeclared column without a declared type (an expression) takes the kind of its
    // first value.
    int rc = sqlite3_step(raw);
    const int columnCount = sqlite3_column_count(raw);
    std::vector<SourceColumn> source;
    for (int i = 0; i < columnCount; ++i) {
        const char* declType = sqlite3_column_decltype(raw, i);
        const FieldKind kind = declType || rc != SQLITE_ROW
                                   ? kindFromSqliteDeclType(declType)
                                   : kindFromSqliteValue(sqlite3_column_type(raw, i));
        source.push_back({sqlite3_column_name(raw, i), kind, false});
    }
    const ColumnPlan plan = planColumns(source, declared);
    ResultSet& result = into.begin(plan.makeEmptyResult());

    std::vector<std::pair<int, ResultColumn*>> targets; // statement column, result column
    for (int i = 0; i < columnCount; ++i)
        if (const int target = plan.targetOf[static_cast<std::size_t>(i)]; target >= 0)
            targets.emplace_back(i, &result.column(static_cast<std::size_t>(target)));
    // The count goes out and the stop is looked for once per few thousand rows.
    constexpr std::size_t kRowsPerReport = 4096;
    std::size_t rows = 0;
    for (; rc == SQLITE_ROW; rc = sqlite3_step(raw)) {
        for (const auto& [index, column] : targets)
            appendSqliteValue(*column, plan.fieldsDeclared, raw, index);
        result.publishRows();
        if (++rows % kRowsPerReport == 0) {
            control.setDone(rows);
            control.throwIfCancelled();
        }
    }
    control.setDone(rows);
    if (rc != SQLITE_DONE) {
        control.throwIfCancelled();
        throw DbError(sqlite3_errmsg(db_));
    }
}

SessionInfo SqliteBackend::sessionInfo() const {
    return {std::string("SQLite ") + sqlite3_libversion(), "SQLite"};
}
