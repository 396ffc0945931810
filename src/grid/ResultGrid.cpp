#include "ResultGrid.h"

#include "FilterStrip.h"
#include "FindBar.h"
#include "GridBody.h"
#include "GridHeader.h"
#include "db/ResultQuery.h"
#include "export/ClipboardText.h"
#include "result/DbError.h"
#include "table/TableSnapshot.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// Work done at once, for a grid that no window runs work for.
void runAtOnce(const QString&, const BackgroundJob::Work& work,
               const BackgroundJob::Finished& finished) {
    WorkControl control;
    std::exception_ptr failure;
    try {
        work(control);
    } catch (...) {
        failure = std::current_exception();
    }
    finished(failure);
}

} // namespace

ResultGrid::ResultGrid(ResultQuery& query, std::vector<GridColumn> columns, int frozenColumns,
                       QWidget* parent)
    : QWidget(parent), runWork_(runAtOnce),
      model_(new ResultTableModel(query, std::move(columns), this)) {
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
    filterStrip_ = new FilterStrip(this);
    layout->addWidget(filterStrip_);
    layout->addWidget(body_, 1);
    layout->addWidget(footer_);
    findBar_ = new FindBar(*model_, *body_, this);
    layout->addWidget(findBar_);
    connect(body_, &GridBody::findRequested, findBar_, &FindBar::open);
    connect(body_, &GridBody::findNextRequested, findBar_, &FindBar::findNext);
    connect(body_, &GridBody::copyRequested, this, &ResultGrid::copyToClipboard);
    body_->setCellMenu([this](QMenu& menu, int row, int column) {
        addFilterEntries(menu, row, column);
        addColumnEntries(menu);
    });
    connect(header(), &GridHeader::filterMarkClicked, this, &ResultGrid::askColumnFilter);
    if (body_->frozenHeader())
        connect(body_->frozenHeader(), &GridHeader::filterMarkClicked, this,
                &ResultGrid::askColumnFilter);
    connect(filterStrip_, &FilterStrip::removeRequested, this, &ResultGrid::removeColumnFilter);
    connect(filterStrip_, &FilterStrip::clearRequested, this, [this] { applyFilter({}); });

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
    filterStrip_->showFilters(filter());
}

void ResultGrid::widenForFooters() {
    for (int column = 0; column < model_->columnCount(); ++column)
        if (const int needed = model_->displayWidth(column); header()->sectionSize(column) < needed)
            header()->resizeSection(column, needed);
}

void ResultGrid::clearForRun(const std::vector<std::string>& lines) {
    holdSortMark(false);
    beginQueryChange();
    query().close();
    query().clearStatement();
    for (const std::string& line : lines)
        query().appendLine(line);
    endQueryChange();
}

bool ResultGrid::showArrivingRows(const std::shared_ptr<const ResultSet>& rows) {
    if (query().isArriving() && query().sharedResult() == rows) {
        model_->takeArrivedRows();
        body_->rowsAdded();
        return true;
    }
    // Arriving rows come in the server's order, not the marked title's.
    holdSortMark(!model_->titles().markedSortOrder().empty());
    return changeQuery([&] { query().openArriving(rows); });
}

void ResultGrid::holdSortMark(bool held) {
    model_->titles().holdSortMark(held);
    header()->viewport()->update();
    if (body_->frozenHeader())
        body_->frozenHeader()->viewport()->update();
}

bool ResultGrid::showRows(std::shared_ptr<const ResultSet> rows, const std::string& sortOrder,
                          std::vector<std::uint32_t> order) {
    holdSortMark(false); // the rows are put in its order now
    if (!query().isArriving() || query().sharedResult() != rows)
        return changeQuery([&] {
            query().adopt(std::move(rows));
            if (!sortOrder.empty())
                query().setSortOrder(sortOrder, std::move(order));
        });
    // The rows shown as they came stay where they are; the sort the marked title asks for
    // moves them as a title click does. A user who has not moved from the first row is left
    // there: the first row of the sorted result.
    const bool atFirstRow = body_->currentRow() <= 0 && body_->verticalScrollBar()->value() == 0;
    model_->endArrival(std::move(rows), sortOrder, std::move(order));
    body_->rowsReordered();
    if (atFirstRow && query().rowCount() > 0)
        body_->setCurrentCell(0, body_->currentColumn());
    widenForFooters();
    footer_->update();
    return true;
}

bool ResultGrid::changeQuery(const std::function<void()>& change) {
    beginQueryChange();
    bool opened = true;
    try {
        change();
    } catch (const DbError&) {
        opened = false;
    }
    endQueryChange();
    return opened;
}

void ResultGrid::sortByTitle(int column) {
    if (!query().isOpen())
        return;
    const std::shared_ptr<const ResultSet> rows = query().sharedResult();
    const std::string sortOrder = model_->sortOrderForClick(column);
    auto order = std::make_shared<std::vector<std::uint32_t>>();
    runWork_(
        "排序",
        [rows, sortOrder, order, endRowsStay = query().endRowsStay()](WorkControl&) {
            *order = ResultQuery::sortedOrder(*rows, sortOrder, endRowsStay);
        },
        [this, rows, column, sortOrder, order](std::exception_ptr failure) {
            if (failure || query().sharedResult() != rows)
                return; // the order shown stays
            model_->showSorted(column, sortOrder, std::move(*order));
            body_->rowsReordered();
            header()->viewport()->update();
            if (body_->frozenHeader())
                body_->frozenHeader()->viewport()->update();
        });
}

void ResultGrid::copyToClipboard(bool withTitles) {
    auto copied = std::make_shared<CopiedRows>(body_->rowsToCopy(withTitles));
    if (copied->rows.empty() && copied->titles.empty())
        return;
    auto table = std::make_shared<TableSnapshot>(query());
    auto text = std::make_shared<QString>();
    runWork_(
        "复制",
        [table, copied, text](WorkControl& control) {
            *text = copiedText(*table, *copied, control);
        },
        [text](std::exception_ptr failure) {
            if (!failure)
                QGuiApplication::clipboard()->setText(std::move(*text));
        });
}
