// ResultGrid's filters: worked out on the worker from the rows in memory.
#include "FilterDialog.h"
#include "FilterStrip.h"
#include "GridBody.h"
#include "ResultGrid.h"
#include "db/ResultQuery.h"

#include <QMenu>

#include <memory>

void ResultGrid::applyFilter(RowFilter filter) {
    if (!query().isOpen())
        return;
    const std::shared_ptr<const ResultSet> rows = query().sharedResult();
    auto wanted = std::make_shared<RowFilter>(std::move(filter));
    auto shown = std::make_shared<std::vector<std::uint8_t>>();
    runWork_(
        "筛选",
        [rows, wanted, shown](WorkControl& control) {
            control.setTotal(rows->rowCount());
            *shown = wanted->passing(*rows, CellText(), control);
        },
        [this, rows, wanted, shown](std::exception_ptr failure) {
            if (failure || query().sharedResult() != rows)
                return; // the rows shown stay
            model_->showFiltered(std::move(*wanted), std::move(*shown));
            body_->rowsChanged();
            footer_->update();
            filterStrip_->showFilters(model_->filter());
            emit filterChanged();
        });
}

void ResultGrid::setColumnFilter(ColumnFilter filter) {
    RowFilter filters = this->filter();
    filters.set(std::move(filter));
    applyFilter(std::move(filters));
}

void ResultGrid::removeColumnFilter(const std::string& field) {
    RowFilter filters = filter();
    filters.remove(field);
    applyFilter(std::move(filters));
}

ColumnFilter ResultGrid::columnFilter(int column) const {
    const GridColumn& shown = columns()[static_cast<std::size_t>(column)];
    ColumnFilter filter;
    filter.field = shown.field;
    filter.caption = QString::fromStdString(shown.caption());
    if (const auto field = model_->resultColumn(column))
        filter.fieldKind = query().result().column(*field).kind();
    return filter;
}

ColumnFilter ResultGrid::cellFilter(int column, int row, CellFilter kind) const {
    ColumnFilter filter = columnFilter(column);
    const auto field = model_->resultColumn(column);
    if (!field || row < 0 || static_cast<std::size_t>(row) >= query().rowCount())
        return filter;
    const ResultColumn& values = query().result().column(*field);
    const std::size_t id = query().rowAt(static_cast<std::size_t>(row));
    switch (kind) {
    case CellFilter::Equal:
    case CellFilter::NotEqual:
        filter.kind =
            kind == CellFilter::Equal ? ColumnFilter::Kind::In : ColumnFilter::Kind::NotIn;
        filter.texts = {model_->index(row, column).data().toString()};
        break;
    case CellFilter::Below:
        filter.kind = ColumnFilter::Kind::Range;
        filter.high = comparableValue(values, id);
        filter.highStrict = true;
        break;
    case CellFilter::Above:
        filter.kind = ColumnFilter::Kind::Range;
        filter.low = comparableValue(values, id);
        filter.lowStrict = true;
        break;
    }
    return filter;
}

void ResultGrid::listValues(int column, std::function<void(std::vector<DistinctValue>)> ready) {
    const auto field = model_->resultColumn(column);
    if (!query().isOpen() || !field)
        return;
    const std::shared_ptr<const ResultSet> rows = query().sharedResult();
    const std::string name = columns()[static_cast<std::size_t>(column)].field;
    auto others = std::make_shared<RowFilter>(filter());
    auto values = std::make_shared<std::vector<DistinctValue>>();
    runWork_(
        "列出筛选值",
        [rows, others, values, name, index = *field](WorkControl& control) {
            const CellText cellText;
            const std::vector<std::uint8_t> shown = others->passing(*rows, cellText, control, name);
            *values = distinctValues(rows->column(index), shown, cellText, control);
        },
        [this, rows, values, ready = std::move(ready)](std::exception_ptr failure) {
            if (!failure && query().sharedResult() == rows)
                ready(std::move(*values));
        });
}

namespace {

// A cell's text in a menu entry: at most a few words.
QString quoted(const QString& text) {
    constexpr int kLongest = 16;
    const QString shown = text.isEmpty()           ? kEmptyValue
                          : text.size() > kLongest ? text.left(kLongest - 1) + "…"
                                                   : text;
    return "“" + shown + "”";
}

} // namespace

void ResultGrid::addFilterEntries(QMenu& menu, int row, int column) {
    const auto field = column >= 0 ? model_->resultColumn(column) : std::nullopt;
    if (!query().isOpen() || query().isArriving() || !field)
        return;
    if (row >= 0) {
        const QString text = model_->index(row, column).data().toString();
        const auto add = [&](const QString& caption, CellFilter kind) {
            menu.addAction(caption + quoted(text), this, [this, row, column, kind] {
                setColumnFilter(cellFilter(column, row, kind));
            });
        };
        add("筛选：等于", CellFilter::Equal);
        add("筛选：不等于", CellFilter::NotEqual);
        if (query().result().column(*field).kind() != FieldKind::Text &&
            !query().result().column(*field).isNull(query().rowAt(static_cast<std::size_t>(row)))) {
            add("筛选：小于", CellFilter::Below);
            add("筛选：大于", CellFilter::Above);
        }
    }
    menu.addAction("筛选…", this, [this, column] { askColumnFilter(column); });
    if (!filter().empty())
        menu.addAction("清除筛选", this, [this] { applyFilter({}); });
}

void ResultGrid::askColumnFilter(int column) {
    listValues(column, [this, column](std::vector<DistinctValue> values) {
        const ColumnFilter base = columnFilter(column);
        FilterDialog dialog(base, std::move(values), filter().find(base.field), this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        if (auto chosen = dialog.chosen())
            setColumnFilter(std::move(*chosen));
        else
            removeColumnFilter(base.field);
    });
}
