#include "ResultGrid.h"

#include "BusyCursor.h"
#include "Fonts.h"
#include "GridBody.h"
#include "GridHeader.h"
#include "db/ResultQuery.h"
#include "result/DbError.h"
#include "table/ResultTableModel.h"

#include <QScrollBar>
#include <QVBoxLayout>

namespace {

std::vector<std::string> summedFields(const std::vector<GridColumn>& columns) {
    std::vector<std::string> fields;
    for (const GridColumn& column : columns)
        if (column.footer == FooterValue::Sum)
            fields.push_back(column.field);
    return fields;
}

} // namespace

ResultGrid::ResultGrid(ResultQuery& query, std::vector<GridColumn> columns, int frozenColumns,
                       QWidget* parent)
    : QWidget(parent), query_(query), columns_(std::move(columns)), titles_(columns_),
      sums_(summedFields(columns_)) {
    settings_.FrozenCols = frozenColumns;
    setFont(songTi(12));
    model_ = new ResultTableModel(query_, columns_, this);
    body_ = new GridBody(query_, *model_, titles_, settings_, this);
    for (std::size_t i = 0; i < columns_.size(); ++i)
        header()->resizeSection(static_cast<int>(i), columns_[i].width);

    footer_ = new GridFooter(
        *header(), settings_.FrozenCols, [this](int column) { return footerCell(column); },
        body_->frameWidth() + GridBody::kIndicatorWidth, this);
    footer_->setFixedHeight(GridBody::kRowHeight + 4);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(body_, 1);
    layout->addWidget(footer_);

    connect(header(), &GridHeader::titleClicked, this, &ResultGrid::titleClicked);
    if (body_->frozenHeader())
        connect(body_->frozenHeader(), &GridHeader::titleClicked, this, &ResultGrid::titleClicked);
    connect(body_, &GridBody::doubleClicked, this, &ResultGrid::doubleClicked);
    connect(body_->horizontalScrollBar(), &QScrollBar::valueChanged, footer_,
            qOverload<>(&QWidget::update));
}

GridHeader* ResultGrid::header() const {
    return body_->header();
}

void ResultGrid::beginQueryChange() {
    model_->beginQueryChange();
}

void ResultGrid::endQueryChange() {
    sums_.recompute(query_);
    model_->endQueryChange();
    body_->rowsChanged();
    widenForFooters();
    footer_->update();
}

void ResultGrid::widenForFooters() {
    for (int column = 0; column < static_cast<int>(columns_.size()); ++column)
        if (const int needed = footer_->widthToShow(column); header()->sectionSize(column) < needed)
            header()->resizeSection(column, needed);
}

void ResultGrid::clearForRun(const std::vector<std::string>& lines) {
    beginQueryChange();
    query_.close();
    query_.clearStatement();
    for (const std::string& line : lines)
        query_.appendLine(line);
    endQueryChange();
}

bool ResultGrid::showRows(ResultSet rows) {
    beginQueryChange();
    bool opened = true;
    try {
        query_.adopt(std::move(rows));
    } catch (const DbError&) {
        opened = false;
    }
    endQueryChange();
    return opened;
}

void ResultGrid::sortByTitle(int column) {
    if (!query_.isOpen())
        return;
    const BusyCursor busy;
    model_->reorderRows([&] { titles_.sortByTitle(static_cast<std::size_t>(column), query_); });
    body_->rowsReordered();
    header()->viewport()->update();
    if (body_->frozenHeader())
        body_->frozenHeader()->viewport()->update();
}

Qt::Alignment ResultGrid::alignment(int column) const {
    return model_->alignment(column);
}

GridFooter::Cell ResultGrid::footerCell(int column) const {
    const GridColumn& c = columns_[static_cast<std::size_t>(column)];
    const QFont font =
        c.footerFont ? songTi(c.footerFont->pixelSize, c.footerFont->bold) : songTi(12);
    return {footerText(column), font, QColor(QRgb(kFooterColour)), alignment(column)};
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
    return cellText_.sumText(query_.result().column(*field).kind(),
                             sums_.total(static_cast<std::size_t>(at)));
}
