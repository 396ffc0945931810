#include "ResultGrid.h"

#include "CurrentRowDelegate.h"
#include "Fonts.h"
#include "GridFooter.h"
#include "GridHeader.h"
#include "ResultTableModel.h"
#include "connection/ResultQuery.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

std::vector<std::string> fieldsOf(const std::vector<GridColumn>& columns) {
    std::vector<std::string> fields;
    for (const GridColumn& column : columns)
        fields.push_back(column.field);
    return fields;
}

std::vector<bool> titleButtonsOf(const std::vector<GridColumn>& columns) {
    std::vector<bool> buttons;
    for (const GridColumn& column : columns)
        buttons.push_back(column.titleButton);
    return buttons;
}

std::vector<std::string> summedFields(const std::vector<GridColumn>& columns) {
    std::vector<std::string> fields;
    for (const GridColumn& column : columns)
        if (column.footer == FooterValue::Sum)
            fields.push_back(column.field);
    return fields;
}

constexpr int kRowHeight = 18;

} // namespace

ResultGrid::ResultGrid(ResultQuery& query, std::vector<GridColumn> columns, QWidget* parent)
    : QWidget(parent), query_(query), columns_(std::move(columns)),
      titles_(fieldsOf(columns_), titleButtonsOf(columns_)), sums_(summedFields(columns_)) {
    setFont(songTi(12));
    model_ = new ResultTableModel(query_, columns_, this);
    view_ = new QTableView(this);
    header_ = new GridHeader(titles_, view_);
    view_->setHorizontalHeader(header_);
    view_->setModel(model_);
    view_->setItemDelegate(new CurrentRowDelegate(*view_));
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    view_->verticalHeader()->setFixedWidth(12);
    view_->setWordWrap(false);
    for (std::size_t i = 0; i < columns_.size(); ++i)
        view_->setColumnWidth(static_cast<int>(i), columns_[i].width);

    footer_ = new GridFooter(
        *header_,
        [this](int column) {
            const GridColumn& c = columns_[static_cast<std::size_t>(column)];
            const QFont footerFont =
                c.footerFont ? songTi(c.footerFont->pixelSize, c.footerFont->bold) : songTi(12);
            const bool numeric = c.footer == FooterValue::Sum;
            return GridFooter::Cell{footerText(column), footerFont, QColor(QRgb(kFooterColour)),
                                    numeric ? Qt::AlignRight : Qt::AlignLeft};
        },
        view_->verticalHeader()->width() + view_->frameWidth(), this);
    footer_->setFixedHeight(kRowHeight + 4);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_, 1);
    layout->addWidget(footer_);

    connect(header_, &GridHeader::titleClicked, this, &ResultGrid::sortByTitle);
    connect(view_, &QTableView::doubleClicked, this, &ResultGrid::doubleClicked);
    connect(view_->horizontalScrollBar(), &QScrollBar::valueChanged, footer_,
            qOverload<>(&QWidget::update));
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, view_->viewport(),
            qOverload<>(&QWidget::update));
}

void ResultGrid::beginQueryChange() {
    model_->beginQueryChange();
}

void ResultGrid::endQueryChange() {
    sums_.recompute(query_);
    model_->endQueryChange();
    if (query_.isOpen() && !query_.isEmpty())
        view_->setCurrentIndex(model_->index(0, 0));
    footer_->update();
}

void ResultGrid::sortByTitle(int column) {
    if (!query_.isOpen())
        return;
    model_->reorderRows([&] { titles_.sortByTitle(static_cast<std::size_t>(column), query_); });
    header_->viewport()->update();
}

QString ResultGrid::footerText(int column) const {
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
    const auto field = query_.result().findColumn(c.field);
    if (!field)
        return QStringLiteral("0");
    const auto& fields = sums_.fields();
    const auto at = std::find(fields.begin(), fields.end(), c.field) - fields.begin();
    return CellText().sumText(query_.result().column(*field).kind(),
                              sums_.total(static_cast<std::size_t>(at)));
}
