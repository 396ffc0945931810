#pragma once

#include "result/FieldKind.h"
#include "result/ResultSet.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Connection;

// Statement lines as one command text, each line ended by CR LF.
std::string joinedStatement(const std::vector<std::string>& lines);

// A result query on the one connection: a statement appended line by line, opened into a
// columnar result kept in memory, and a cursor over a row order (a permutation of the rows
// as the database returned them, so that sorting only reorders that permutation).
class ResultQuery {
public:
    using Bookmark = std::uint32_t; // a row id, stable across reordering

    // `endRowsStay`: the result's first and last rows stay first and last whatever the sort,
    // and are not records (an opening and a closing balance).
    ResultQuery(Connection& connection, std::vector<FieldDecl> declaredFields = {},
                bool endRowsStay = false);

    void close();
    void clearStatement();
    void appendLine(std::string_view line);
    // The lines joined, each ended by CR LF.
    std::string commandText() const;
    const std::vector<std::string>& statementLines() const { return lines_; }

    // Reads the whole result. Throws DbError on any failure and is then closed.
    void open();
    // Opens on a result that was read elsewhere (on a worker thread, for the statement and
    // fields of this query). Throws DbError when it has more rows than a query can hold.
    void adopt(ResultSet fetched);
    void adopt(std::shared_ptr<const ResultSet> fetched);
    // Opens on a result that a worker is still reading, showing the rows published so far in
    // the order they came; takeArrivedRows() shows those published since, and adopt() of the
    // same result, once the last row is in, ends the arrival.
    void openArriving(std::shared_ptr<const ResultSet> arriving);
    void takeArrivedRows();
    // Rows are still arriving: what needs every row waits.
    bool isArriving() const { return arriving_; }
    const std::vector<FieldDecl>& declaredFields() const { return declared_; }
    bool isOpen() const { return open_; }
    // The rows shown: every row of the result, or those a filter lets through.
    std::size_t rowCount() const { return rowOrder().size(); }
    std::size_t totalRowCount() const { return result_->rowCount(); }
    // The records shown and the records of the result, the end rows that stay not counted.
    std::size_t recordCount() const;
    std::size_t totalRecordCount() const;
    bool endRowsStay() const { return endRowsStay_; }
    bool isEmpty() const { return rowOrder().empty(); }

    void first();
    void next();
    bool eof() const { return position_ >= rowOrder().size(); }
    // Moves by a signed number of rows, stopping at the first and last row.
    void moveBy(std::int64_t rows);
    std::size_t position() const { return position_; }
    // The row id of the current record; the cursor must stand on a row.
    std::size_t currentRow() const { return rowOrder()[position_]; }
    // The row id at a position of the row order.
    std::size_t rowAt(std::size_t position) const { return rowOrder()[position]; }
    Bookmark bookmark() const { return rowOrder()[position_]; }
    void gotoBookmark(Bookmark row);

    // Empty (the database's order), or a field name and " ASC" or " DESC". Setting it reorders
    // the open rows in memory; the current record stays current. Every open starts empty.
    const std::string& sortOrder() const { return sortOrder_; }
    void setSortOrder(const std::string& text); // throws DbError for an unknown field
    // The same with the row order that `sortedOrder` gave for the rows open now, worked out
    // elsewhere (on a worker, from `sharedResult`).
    void setSortOrder(const std::string& text, std::vector<std::uint32_t> order);
    // Shows only the rows whose id is marked 1 in `shown` (every row when it is empty), in the
    // sort order; the current record stays current when it is still shown. Every open shows
    // every row.
    void setShownRows(std::vector<std::uint8_t> shown);
    bool isFiltered() const { return !shown_.empty(); }
    // The row order a sort order text gives `rows`, the first and last rows left in place when
    // `endRowsStay`; throws DbError for an unknown field.
    static std::vector<std::uint32_t> sortedOrder(const ResultSet& rows, const std::string& text,
                                                  bool endRowsStay = false);

    const ResultSet& result() const { return *result_; }
    // The rows, never changed once read, for readers on other threads (see TableSnapshot);
    // a new open or a close gives the query other rows and leaves these to their readers.
    const std::shared_ptr<const ResultSet>& sharedResult() const { return result_; }
    // The ids of the rows shown, in the row order.
    const std::vector<std::uint32_t>& rowOrder() const {
        return shown_.empty() ? sorted_ : filtered_;
    }
    // The connection the query runs on.
    Connection& connection() const { return connection_; }
    // The index of a field in the result; throws DbError when there is none.
    std::size_t fieldIndex(std::string_view name) const;
    static std::size_t fieldIndexIn(const ResultSet& rows, std::string_view name);

private:
    Connection& connection_;
    std::vector<FieldDecl> declared_;
    bool endRowsStay_;
    std::vector<std::string> lines_;
    bool open_ = false;
    bool arriving_ = false;
    std::shared_ptr<const ResultSet> result_;
    // The rows shown made again from the sort order and the rows let through; the record
    // `current` stays current when it is still shown.
    void showRowsAround(std::optional<std::uint32_t> current);

    std::vector<std::uint32_t> sorted_;   // every row, in the sort order
    std::vector<std::uint8_t> shown_;     // per row id; empty: every row
    std::vector<std::uint32_t> filtered_; // the rows shown, in the sort order, while filtered
    std::size_t position_ = 0;
    std::string sortOrder_;
};
