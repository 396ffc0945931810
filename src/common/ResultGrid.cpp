#include "ResultGrid.h"

#include "CurrentRowDelegate.h"
#include "Fonts.h"
#include "GridFooter.h"
#include "GridHeader.h"
#include "GridView.h"
#include "IndicatorHeader.h"
#include "ResultTableModel.h"
#include "connection/ResultQuery.h"

#include <QEvent>
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

// What both views of a grid share: read-only cells, one current cell, fixed row height.
void configureView(QTableView& view) {
    view.setItemDelegate(new CurrentRowDelegate(view));
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectItems);
    view.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(kRowHeight);
    view.setWordWrap(false);
}

} // namespace

ResultGrid::ResultGrid(ResultQuery& query, std::vector<GridColumn> columns, int frozenColumns,
                       QWidget* parent)
    : QWidget(parent), query_(query), columns_(std::move(columns)),
      titles_(fieldsOf(columns_), titleButtonsOf(columns_)), sums_(summedFields(columns_)),
      frozenColumns_(frozenColumns) {
    setFont(songTi(12));
    model_ = new ResultTableModel(query_, columns_, this);
    view_ = new GridView(this);
    header_ = new GridHeader(titles_, true, view_);
    view_->setHorizontalHeader(header_);
    indicator_ = new IndicatorHeader(view_);
    view_->setVerticalHeader(indicator_);
    view_->setModel(model_);
    configureView(*view_);
    indicator_->setFixedWidth(12);
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
    footer_->setFrozenColumns(frozenColumns_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_, 1);
    layout->addWidget(footer_);

    connect(header_, &GridHeader::titleClicked, this, &ResultGrid::sortByTitle);
    connect(view_, &QTableView::doubleClicked, this, &ResultGrid::doubleClicked);
    connect(view_->horizontalScrollBar(), &QScrollBar::valueChanged, footer_,
            qOverload<>(&QWidget::update));
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                view_->viewport()->update();
                indicator_->setCurrentRow(current.row());
                if (frozen_)
                    frozen_->viewport()->update();
            });
    if (frozenColumns_ > 0)
        buildFrozenView();
}

QTableView* ResultGrid::view() const {
    return view_;
}

void ResultGrid::buildFrozenView() {
    frozen_ = new QTableView(view_);
    frozenHeader_ = new GridHeader(titles_, false, frozen_);
    frozen_->setHorizontalHeader(frozenHeader_);
    frozen_->setModel(model_);
    frozen_->setSelectionModel(view_->selectionModel());
    configureView(*frozen_);
    frozen_->verticalHeader()->hide();
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->viewport()->stackUnder(frozen_);
    connect(frozen_->verticalScrollBar(), &QScrollBar::valueChanged, view_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(header_, &QHeaderView::sectionResized, this, &ResultGrid::syncFrozenView);
    connect(header_, &QHeaderView::sectionMoved, this, &ResultGrid::syncFrozenView);
    connect(frozenHeader_, &QHeaderView::sectionResized, this,
            [this](int logical, int, int size) { header_->resizeSection(logical, size); });
    connect(frozenHeader_, &GridHeader::titleClicked, this, &ResultGrid::sortByTitle);
    connect(frozen_, &QTableView::doubleClicked, this, &ResultGrid::doubleClicked);
    view_->installEventFilter(this);
    syncFrozenView();
}

void ResultGrid::syncFrozenView() {
    if (!frozen_)
        return;
    const QSignalBlocker blockHeader(frozenHeader_);
    int width = 0;
    for (int visual = 0; visual < header_->count(); ++visual) {
        const int logical = header_->logicalIndex(visual);
        frozenHeader_->moveSection(frozenHeader_->visualIndex(logical), visual);
        const bool shown = visual < frozenColumns_ && !header_->isSectionHidden(logical);
        frozenHeader_->setSectionHidden(logical, !shown);
        if (shown) {
            frozenHeader_->resizeSection(logical, header_->sectionSize(logical));
            width += header_->sectionSize(logical);
        }
    }
    view_->setFrozenWidth(width);
    view_->setFrozenColumns(frozenColumns_);
    frozenHeader_->setFixedHeight(header_->height());
    frozen_->setGeometry(view_->verticalHeader()->width() + view_->frameWidth(),
                         view_->frameWidth(), width,
                         view_->viewport()->height() + header_->height());
    footer_->update();
}

bool ResultGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        syncFrozenView();
    return QWidget::eventFilter(watched, event);
}

void ResultGrid::beginQueryChange() {
    model_->beginQueryChange();
}

void ResultGrid::endQueryChange() {
    sums_.recompute(query_);
    model_->endQueryChange();
    syncFrozenView();
    if (query_.isOpen() && !query_.isEmpty())
        view_->setCurrentIndex(model_->index(0, 0));
    footer_->update();
}

void ResultGrid::sortByTitle(int column) {
    if (!query_.isOpen())
        return;
    model_->reorderRows([&] { titles_.sortByTitle(static_cast<std::size_t>(column), query_); });
    header_->viewport()->update();
    if (frozenHeader_)
        frozenHeader_->viewport()->update();
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
