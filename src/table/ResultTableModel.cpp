#include "ResultTableModel.h"

#include "FittedText.h"
#include "Fonts.h"
#include "db/ResultQuery.h"

#include <QDateTime>

#include <algorithm>

namespace {

std::vector<std::string> summedFields(const std::vector<GridColumn>& columns) {
    std::vector<std::string> fields;
    for (const GridColumn& column : columns)
        if (column.footer == FooterValue::Sum)
            fields.push_back(column.field);
    return fields;
}

} // namespace

QFont gridFont() {
    return songTi(12);
}

ResultTableModel::ResultTableModel(ResultQuery& query, std::vector<GridColumn> columns,
                                   QObject* parent)
    : QAbstractTableModel(parent), query_(query), columns_(std::move(columns)),
      resultColumn_(columns_.size()), titles_(columns_), sums_(summedFields(columns_)) {}

std::vector<std::size_t> ResultTableModel::resultColumns() const {
    std::vector<std::size_t> shown;
    for (const auto& column : resultColumn_)
        if (column)
            shown.push_back(*column);
    return shown;
}

int ResultTableModel::columnOf(std::string_view field) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].field == field)
            return static_cast<int>(i);
    return -1;
}

void ResultTableModel::beginQueryChange() {
    beginResetModel();
}

void ResultTableModel::endQueryChange() {
    filter_.clear(); // a new result shows every row
    for (std::size_t column = 0; column < columns_.size(); ++column)
        titles_.setFiltered(column, false);
    sums_.recompute(query_);
    for (std::size_t i = 0; i < columns_.size(); ++i)
        resultColumn_[i] =
            query_.isOpen() ? query_.result().findColumn(columns_[i].field) : std::nullopt;
    endResetModel();
}

void ResultTableModel::takeArrivedRows() {
    const int before = rowCount();
    const auto arrived = static_cast<int>(query_.result().rowCount());
    if (arrived <= before)
        return;
    beginInsertRows({}, before, arrived - 1);
    query_.takeArrivedRows();
    endInsertRows();
}

void ResultTableModel::endArrival(std::shared_ptr<const ResultSet> rows,
                                  const std::string& sortOrder, std::vector<std::uint32_t> order) {
    takeArrivedRows();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    query_.adopt(std::move(rows));
    if (!sortOrder.empty())
        query_.setSortOrder(sortOrder, std::move(order));
    const std::size_t position = query_.position();
    sums_.recompute(query_); // which leaves the cursor on the first row
    query_.moveBy(static_cast<std::int64_t>(position));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ResultTableModel::sortByTitle(int column) {
    if (!query_.isOpen())
        return;
    const std::string sortOrder = sortOrderForClick(column);
    showSorted(column, sortOrder,
               ResultQuery::sortedOrder(query_.result(), sortOrder, query_.endRowsStay()));
}

std::string ResultTableModel::sortOrderForClick(int column) const {
    return titles_.sortOrderForClick(static_cast<std::size_t>(column), query_.sortOrder());
}

void ResultTableModel::showSorted(int column, const std::string& sortOrder,
                                  std::vector<std::uint32_t> order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    query_.setSortOrder(sortOrder, std::move(order));
    titles_.markSorted(static_cast<std::size_t>(column), sortOrder.ends_with(" DESC"));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ResultTableModel::showFiltered(RowFilter filter, std::vector<std::uint8_t> shown) {
    beginResetModel();
    query_.setShownRows(std::move(shown));
    filter_ = std::move(filter);
    for (std::size_t column = 0; column < columns_.size(); ++column)
        titles_.setFiltered(column, filter_.find(columns_[column].field) != nullptr);
    sums_.recompute(query_);
    endResetModel();
}

QString ResultTableModel::criteriaAndFilterText() const {
    const QString filters = filter_.describe();
    if (filters.isEmpty() || criteriaText_.isEmpty())
        return criteriaText_ + filters;
    return criteriaText_ + "　" + filters;
}

int ResultTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !query_.isOpen() ? 0 : static_cast<int>(query_.rowCount());
}

int ResultTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const {
    const auto& column = resultColumn_[static_cast<std::size_t>(index.column())];
    if (!column)
        return {};
    const ResultColumn& values = query_.result().column(*column);
    if (role == Qt::DisplayRole)
        return cellText_(values, query_.rowAt(static_cast<std::size_t>(index.row())));
    if (role == Qt::TextAlignmentRole)
        return int(alignment(index.column()) | Qt::AlignVCenter);
    return {};
}

Qt::Alignment ResultTableModel::alignment(int column) const {
    const auto& field = resultColumn_[static_cast<std::size_t>(column)];
    const bool numeric =
        field ? isNumericKind(query_.result().column(*field).kind())
              : columns_[static_cast<std::size_t>(column)].footer == FooterValue::Sum;
    return numeric ? Qt::AlignRight : Qt::AlignLeft;
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QString::fromStdString(columns_[static_cast<std::size_t>(section)].caption());
    return {};
}

QString ResultTableModel::footerText(int column) const {
    if (!query_.isOpen())
        return {};
    const GridColumn& c = columns_[static_cast<std::size_t>(column)];
    switch (c.footer) {
    case FooterValue::None:
        return {};
    case FooterValue::StaticText:
        return QString::fromStdString(c.footerText);
    case FooterValue::Sum:
        break;
    }
    if (query_.isArriving())
        return QStringLiteral("…");
    const auto field = query_.result().findColumn(c.field);
    if (!field)
        return QStringLiteral("0");
    const auto& fields = sums_.fields();
    const auto at = std::find(fields.begin(), fields.end(), c.field) - fields.begin();
    return cellText_.sumText(query_.result().column(*field).kind(),
                             sums_.total(static_cast<std::size_t>(at)));
}

FooterCell ResultTableModel::footerCell(int column) const {
    const GridColumn& c = columns_[static_cast<std::size_t>(column)];
    const QFont font =
        c.footerFont ? songTi(c.footerFont->pixelSize, c.footerFont->bold) : gridFont();
    return {footerText(column), font, QColor(QRgb(kFooterColour)), alignment(column)};
}

int ResultTableModel::displayWidth(int column) const {
    const FooterCell footer = footerCell(column);
    int width = std::max(columns_[static_cast<std::size_t>(column)].width,
                         widthToShow(footer.font, footer.text));
    const auto& field = resultColumn_[static_cast<std::size_t>(column)];
    if (field && query_.result().column(*field).kind() == FieldKind::DateTime) {
        // A whole date with two-digit month and day shows uncut.
        const QDateTime widest(QDate(2000, 12, 28), QTime(0, 0), Qt::UTC);
        width = std::max(width,
                         widthToShow(gridFont(), cellText_.dateTime(widest.toMSecsSinceEpoch())));
    }
    return width;
}
