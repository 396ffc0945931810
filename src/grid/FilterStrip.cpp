#include "FilterStrip.h"

#include "table/RowFilter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace {

// A filter's text longer than this ends in "…" on its button, whole on hover.
constexpr int kItemWidth = 320;

} // namespace

FilterStrip::FilterStrip(QWidget* parent) : QWidget(parent) {
    setObjectName("filterStrip");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel("筛选：", this));
    items_ = new QHBoxLayout;
    items_->setSpacing(4);
    layout->addLayout(items_);
    layout->addStretch(1);
    auto* clear = new QToolButton(this);
    clear->setObjectName("btn_clearFilter");
    clear->setText("清除筛选");
    clear->setFocusPolicy(Qt::NoFocus); // the keys stay with the grid, as with the tool band
    connect(clear, &QToolButton::clicked, this, &FilterStrip::clearRequested);
    layout->addWidget(clear);
    hide();
}

void FilterStrip::showFilters(const RowFilter& filter) {
    while (QLayoutItem* item = items_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const ColumnFilter& column : filter.filters()) {
        auto* item = new QToolButton(this);
        item->setFocusPolicy(Qt::NoFocus);
        const QString text = column.text() + " ×";
        item->setText(item->fontMetrics().elidedText(text, Qt::ElideMiddle, kItemWidth));
        item->setToolTip("去掉此筛选：" + column.text());
        connect(item, &QToolButton::clicked, this,
                [this, field = column.field] { emit removeRequested(field); });
        items_->addWidget(item);
    }
    setVisible(!filter.empty());
}
