#include "ResultTableModel.h"

#include "db/ResultQuery.h"

ResultTableModel::ResultTableModel(const ResultQuery& query, std::vector<GridColumn> columns,
                                   QObject* parent)
    : QAbstractTableModel(parent), query_(query), columns_(std::move(columns)),
      resultColumn_(columns_.size()) {}

void ResultTableModel::beginQueryChange() {
    beginResetModel();
}

void ResultTableModel::endQueryChange() {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        resultColumn_[i] =
            query_.isOpen() ? query_.result().findColumn(columns_[i].field) : std::nullopt;
    endResetModel();
}

void ResultTableModel::reorderRows(const std::function<void()>& reorder) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    reorder();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
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
