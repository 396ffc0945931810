#include "ResultQuery.h"

#include "Connection.h"
#include "result/DbError.h"
#include "result/RowOrder.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <numeric>
#include <optional>

namespace {

const std::shared_ptr<const ResultSet>& noRows() {
    static const auto none = std::make_shared<const ResultSet>();
    return none;
}

} // namespace

ResultQuery::ResultQuery(Connection& connection, std::vector<FieldDecl> declaredFields,
                         bool endRowsStay)
    : connection_(connection), declared_(std::move(declaredFields)), endRowsStay_(endRowsStay),
      result_(noRows()) {}

std::size_t ResultQuery::recordCount() const {
    const std::size_t total = result_->rowCount();
    if (!endRowsStay_ || total < 2)
        return rowCount();
    const auto shown = [&](std::size_t row) { return shown_.empty() || shown_[row] != 0; };
    return rowCount() - (shown(0) ? 1 : 0) - (shown(total - 1) ? 1 : 0);
}

std::size_t ResultQuery::totalRecordCount() const {
    const std::size_t total = result_->rowCount();
    return endRowsStay_ && total >= 2 ? total - 2 : total;
}

void ResultQuery::close() {
    open_ = false;
    arriving_ = false;
    result_ = noRows();
    sorted_ = {};
    shown_ = {};
    filtered_ = {};
    position_ = 0;
    sortOrder_.clear();
}

void ResultQuery::clearStatement() {
    lines_.clear();
}

void ResultQuery::appendLine(std::string_view line) {
    lines_.emplace_back(line);
}

std::string joinedStatement(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string ResultQuery::commandText() const {
    return joinedStatement(lines_);
}

void ResultQuery::open() {
    close();
    adopt(connection_.fetchAll(commandText(), declared_));
}

void ResultQuery::adopt(ResultSet fetched) {
    adopt(std::make_shared<const ResultSet>(std::move(fetched)));
}

// The rows it showed arriving are ended in place; any other result opens afresh.
void ResultQuery::adopt(std::shared_ptr<const ResultSet> fetched) {
    if (arriving_ && fetched == result_)
        takeArrivedRows();
    else
        openArriving(std::move(fetched));
    arriving_ = false;
}

void ResultQuery::openArriving(std::shared_ptr<const ResultSet> arriving) {
    close();
    result_ = std::move(arriving);
    open_ = true;
    arriving_ = true;
    takeArrivedRows();
}

void ResultQuery::takeArrivedRows() {
    const std::size_t rows = result_->rowCount();
    if (rows > std::numeric_limits<std::uint32_t>::max()) {
        close();
        throw DbError("the result has more rows than a query can hold");
    }
    const std::size_t before = sorted_.size();
    sorted_.resize(rows);
    std::iota(sorted_.begin() + static_cast<std::ptrdiff_t>(before), sorted_.end(),
              static_cast<std::uint32_t>(before));
}

void ResultQuery::first() {
    position_ = 0;
}

void ResultQuery::next() {
    if (position_ < rowOrder().size())
        ++position_;
}

void ResultQuery::moveBy(std::int64_t rows) {
    if (rowOrder().empty())
        return;
    const auto last = static_cast<std::int64_t>(rowOrder().size()) - 1;
    position_ = static_cast<std::size_t>(
        std::clamp(static_cast<std::int64_t>(std::min(position_, rowOrder().size() - 1)) + rows,
                   std::int64_t{0}, last));
}

void ResultQuery::gotoBookmark(Bookmark row) {
    const auto found = std::find(rowOrder().begin(), rowOrder().end(), row);
    if (found == rowOrder().end())
        throw DbError("bookmark not found");
    position_ = static_cast<std::size_t>(found - rowOrder().begin());
}

std::vector<std::uint32_t> ResultQuery::sortedOrder(const ResultSet& rows, const std::string& text,
                                                    bool endRowsStay) {
    std::vector<std::uint32_t> order;
    if (text.empty()) {
        order.resize(rows.rowCount());
        std::iota(order.begin(), order.end(), 0U);
        return order;
    }
    const bool descending = text.ends_with(" DESC");
    if (!descending && !text.ends_with(" ASC"))
        throw DbError("sort order must end with ASC or DESC: " + text);
    const std::string field = text.substr(0, text.size() - (descending ? 5 : 4));
    order = sortedRowOrder(rows.column(fieldIndexIn(rows, field)), descending);
    if (endRowsStay && order.size() >= 2) {
        const auto last = static_cast<std::uint32_t>(order.size() - 1);
        std::erase_if(order, [last](std::uint32_t row) { return row == 0 || row == last; });
        order.insert(order.begin(), 0);
        order.push_back(last);
    }
    return order;
}

void ResultQuery::setSortOrder(const std::string& text) {
    setSortOrder(text, sortedOrder(*result_, text, endRowsStay_));
}

void ResultQuery::setSortOrder(const std::string& text, std::vector<std::uint32_t> order) {
    const std::optional<std::uint32_t> current = eof() ? std::nullopt : std::optional(bookmark());
    sorted_ = std::move(order);
    showRowsAround(current);
    sortOrder_ = text;
}

void ResultQuery::setShownRows(std::vector<std::uint8_t> shown) {
    const std::optional<std::uint32_t> current = eof() ? std::nullopt : std::optional(bookmark());
    shown_ = std::move(shown);
    showRowsAround(current);
}

void ResultQuery::showRowsAround(std::optional<std::uint32_t> current) {
    filtered_.clear();
    if (!shown_.empty())
        for (const std::uint32_t row : sorted_)
            if (shown_[row])
                filtered_.push_back(row);
    position_ = 0;
    if (current && (shown_.empty() || shown_[*current]))
        gotoBookmark(*current);
}

std::size_t ResultQuery::fieldIndex(std::string_view name) const {
    return fieldIndexIn(*result_, name);
}

std::size_t ResultQuery::fieldIndexIn(const ResultSet& rows, std::string_view name) {
    if (const auto index = rows.findColumn(name))
        return *index;
    throw DbError("no field " + std::string(name));
}
