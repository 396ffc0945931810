#include "QueryWindowFrame.h"

#include "ScreenFit.h"

#include "ChartCommand.h"
#include "ExportCommand.h"
#include "PrintCommand.h"
#include "WindowMemory.h"
#include "WindowWork.h"
#include "db/ResultQuery.h"
#include "grid/GridBody.h"
#include "grid/ResultGrid.h"
#include "result/QueryDefinition.h"
#include "table/Fonts.h"

#include <QAction>
#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

#include <utility>

QueryWindowFrame::QueryWindowFrame(QWidget* window, Connection& connection, const QueryShape& shape,
                                   QueryResultUse use)
    : window_(window), use_(std::move(use)),
      query_(std::make_unique<ResultQuery>(connection, shape.fields, shape.endRowsStay)) {
    window->setWindowTitle(shape.caption);
    window->setFont(songTi(shape.fontPixelSize));
    buildGrid(shape);
    new WindowMemory(window, std::string(shape.gridName) + ".window", [this] { return grid_; });
    keepWindowsOnScreen(); // this window and every one it opens
}

QueryWindowFrame::~QueryWindowFrame() = default;

void QueryWindowFrame::buildGrid(const QueryShape& shape) {
    grid_ = new ResultGrid(*query_, shape.columns, shape.frozenColumns, window_);
    grid_->setObjectName(shape.gridName);
    WindowMemory::restoreGrid(*grid_);
    QObject::connect(grid_, &ResultGrid::titleClicked, window_,
                     [this](int column) { grid_->sortByTitle(column); }); // not while work runs
    QObject::connect(grid_, &ResultGrid::filterChanged, window_,
                     [this] { Panel4->setText(recordCountText(grid_->query())); });
    for (QAction* entry : menuEntries_)
        grid_->body()->addMenuAction(entry);
    if (work_)
        runGridWorkAs(*work_, *grid_);
}

void QueryWindowFrame::buildFrame(QWidget* client, const QueryWindowLook& look, QWidget* criteria,
                                  QList<QWidget*> blocked) {
    window_->resize(look.size);
    const QueryToolBand tools(
        window_,
        {[this] { RunQuery(); }, [this] { ToolButton8Click(); }, [this] { PrintGrid(); },
         !use_.charts.empty() ? std::function<void()>([this] { ShowCharts(); }) : nullptr},
        look.ownButtons);
    tbn_query = tools.query;
    ToolButton8 = tools.output;
    tbn_print = tools.print;
    tbn_chart = tools.chart;
    ownButtons = tools.own;
    tb_exit = tools.exit;
    layout_ = new QVBoxLayout(client);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addWidget(tools.band);
    layout_->addWidget(criteria);
    layout_->addWidget(grid_, 1);
    layout_->addWidget(queryStatusBar(window_, look.statusBarHeight, look.countText,
                                      look.contactPixels,
                                      {Panel4, workStatus, btn_cancel, Edit4, Edit5, Edit6}));
    work_ = std::make_unique<WindowWork>(window_, workStatus, btn_cancel);
    blocked.append({tbn_query, ToolButton8, tbn_print, tbn_chart});
    blocked.append(QList<QWidget*>(ownButtons.begin(), ownButtons.end()));
    work_->setBlockedControls(blocked);
    runGridWorkAs(*work_, *grid_);
    if (tbn_chart)
        addMenuEntry("图表", [this] { ShowCharts(); }, {});
}

bool QueryWindowFrame::runStatement(const std::vector<std::string>& statement,
                                    const std::string& criteria) {
    return runIntoGrid(*work_, window_, *grid_, *Panel4, statement, criteria, use_.queryFailure);
}

QAction* QueryWindowFrame::addMenuEntry(const QString& caption, const std::function<void()>& run,
                                        const QKeySequence& key) {
    QAction* entry = addGridMenuEntry(window_, *grid_, caption, run, key);
    menuEntries_ << entry;
    return entry;
}

void QueryWindowFrame::changeShape(const QueryShape& shape) {
    if (work_->busy())
        return;
    ResultGrid* oldGrid = grid_;
    WindowMemory::rememberGrid(*oldGrid);
    // The old grid reads the old query to its end.
    const std::unique_ptr<ResultQuery> oldQuery =
        std::exchange(query_, std::make_unique<ResultQuery>(query_->connection(), shape.fields,
                                                            shape.endRowsStay));
    buildGrid(shape);
    delete layout_->replaceWidget(oldGrid, grid_); // the old grid's place, given back
    delete oldGrid;
    clearResult(*grid_, *Panel4);
}

void QueryWindowFrame::ToolButton8Click() {
    exportGridCommand(*work_, window_, grid_, use_.exportPrefix, use_.exportFailure);
}

void QueryWindowFrame::PrintGrid() {
    printGridCommand(*work_, window_, *grid_);
}

void QueryWindowFrame::ShowCharts() {
    showChartsCommand(*work_, window_, *grid_, use_.charts);
}
