#include "ResultGrid.h"

#include "BusyCursor.h"
#include "FindBar.h"
#include "GridBody.h"
#include "GridHeader.h"
#include "db/ResultQuery.h"
#include "result/DbError.h"

#include <QScrollBar>
#include <QVBoxLayout>

ResultGrid::ResultGrid(ResultQuery& query, std::vector<GridColumn> columns, int frozenColumns,
                       QWidget* parent)
    : QWidget(parent), model_(new ResultTableModel(query, std::move(columns), this)) {
    settings_.FrozenCols = frozenColumns;
    setFont(gridFont());
    body_ = new GridBody(*model_, settings_, this);
    for (std::size_t i = 0; i < model_->columns().size(); ++i)
        header()->resizeSection(static_cast<int>(i), model_->columns()[i].width);

    footer_ = new GridFooter(
        *header(), settings_.FrozenCols, [this](int column) { return footerCell(column); },
        body_->frameWidth() + GridBody::kIndicatorWidth, this);
    footer_->setFixedHeight(GridBody::kRowHeight + 4);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(body_, 1);
    layout->addWidget(footer_);
    findBar_ = new FindBar(*model_, *body_, this);
    layout->addWidget(findBar_);
    connect(body_, &GridBody::findRequested, findBar_, &FindBar::open);
    connect(body_, &GridBody::findNextRequested, findBar_, &FindBar::findNext);

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
    model_->endQueryChange();
    body_->rowsChanged();
    widenForFooters();
    footer_->update();
}

void ResultGrid::widenForFooters() {
    for (int column = 0; column < model_->columnCount(); ++column)
        if (const int needed = model_->displayWidth(column); header()->sectionSize(column) < needed)
            header()->resizeSection(column, needed);
}

void ResultGrid::clearForRun(const std::vector<std::string>& lines) {
    beginQueryChange();
    query().close();
    query().clearStatement();
    for (const std::string& line : lines)
        query().appendLine(line);
    endQueryChange();
}

bool ResultGrid::showRows(ResultSet rows) {
    beginQueryChange();
    bool opened = true;
    try {
        query().adopt(std::move(rows));
    } catch (const DbError&) {
        opened = false;
    }
    endQueryChange();
    return opened;
}

void ResultGrid::sortByTitle(int column) {
    if (!query().isOpen())
        return;
    const BusyCursor busy;
    model_->sortByTitle(column);
    body_->rowsReordered();
    header()->viewport()->update();
    if (body_->frozenHeader())
        body_->frozenHeader()->viewport()->update();
}
