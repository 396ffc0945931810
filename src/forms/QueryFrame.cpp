#include "QueryFrame.h"

#include "ConnectionStatus.h"
#include "ContactPanel.h"
#include "FormParts.h"
#include "MessageBoxes.h"
#include "OperatorImages.h"
#include "WindowWork.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "db/RowArrival.h"
#include "grid/GridBody.h"
#include "grid/ResultGrid.h"
#include "table/CellText.h"
#include "table/Fonts.h"

#include <QAction>
#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr int kToolBandHeight = 45;
constexpr int kButtonHeight = 35;
constexpr int kWorkStatusWidth = 230;

// The toolbar strip at the top of a query window: flat buttons with the caption under the
// picture, a small gap between neighbours.
class ToolBand {
public:
    explicit ToolBand(QWidget* parent);
    QFrame* band() const { return band_; }
    QToolButton* addButton(const char* name, const QString& caption, int picture);

private:
    QFrame* band_;
    QToolBar* toolbar_;
};

// The status bar at the bottom of a query window: the record-count panel at the left and a
// contact panel with its fields side by side filling the rest.
// While work runs, its progress and a 取消 button stand between the two.
struct StatusBar {
    StatusBar(QWidget* parent, int height, const QString& countText, int contactPixels,
              const QColor& contactColour);
    QFrame* bar;
    QLabel* count;
    QLabel* work;
    QPushButton* cancel;
    ContactPanel* contacts;
};

ToolBand::ToolBand(QWidget* parent) : band_(new QFrame(parent)), toolbar_(new QToolBar(band_)) {
    band_->setObjectName("ControlBar1");
    band_->setFixedHeight(kToolBandHeight);
    toolbar_->setObjectName("ToolBarBill");
    toolbar_->setIconSize(QSize(16, 16));
    toolbar_->setGeometry(0, 0, 2000, kToolBandHeight);
}

QToolButton* ToolBand::addButton(const char* name, const QString& caption, int picture) {
    if (!toolbar_->actions().isEmpty()) {
        auto* separator = new QWidget(toolbar_);
        separator->setFixedWidth(8);
        toolbar_->addWidget(separator);
    }
    auto* button = new QToolButton(toolbar_);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(operatorImage(picture));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFont(songTi(12));
    button->setFixedHeight(kButtonHeight);
    button->setFocusPolicy(Qt::NoFocus); // as toolbar buttons on the desktop: Tab passes them by
    toolbar_->addWidget(button);
    return button;
}

StatusBar::StatusBar(QWidget* parent, int height, const QString& countText, int contactPixels,
                     const QColor& contactColour)
    : bar(loweredPanel(parent, "Panel3")), count(new QLabel(countText, bar)), work(new QLabel(bar)),
      cancel(new QPushButton("取消", bar)),
      contacts(new ContactPanel(ContactPanel::Arrangement::SideBySide, contactPixels, contactColour,
                                bar)) {
    bar->setFixedHeight(height);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    count->setObjectName("Panel4");
    count->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    count->setFixedWidth(253);
    count->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(count);
    work->setObjectName("workStatus");
    work->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    work->setMinimumWidth(kWorkStatusWidth);
    work->hide();
    layout->addWidget(work);
    cancel->setObjectName("btn_cancel");
    cancel->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(cancel);
    contacts->setObjectName("Panel5");
    contacts->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    layout->addWidget(contacts, 1);
}

} // namespace

QueryToolBand::QueryToolBand(QWidget* window, const QueryCommands& commands,
                             const std::vector<ToolButtonSpec>& ownButtons) {
    ToolBand tools(window);
    query = tools.addButton("tbn_query", "查询", 10);
    output = tools.addButton("ToolButton8", "输出", 1);
    print = tools.addButton("tbn_print", "打印", 12);
    QObject::connect(query, &QToolButton::clicked, window, commands.run);
    QObject::connect(output, &QToolButton::clicked, window, commands.exportGrid);
    QObject::connect(print, &QToolButton::clicked, window, commands.print);
    // Ctrl+P prints from anywhere in the window, as the button does.
    auto* printKey = new QAction(window);
    printKey->setShortcut(QKeySequence::Print);
    QObject::connect(printKey, &QAction::triggered, print, &QToolButton::click);
    window->addAction(printKey);
    if (commands.chart) {
        chart = tools.addButton("tbn_chart", "图表", 13);
        QObject::connect(chart, &QToolButton::clicked, window, commands.chart);
    }
    for (const ToolButtonSpec& spec : ownButtons) {
        QToolButton* button = tools.addButton(spec.name, spec.caption, spec.picture);
        QObject::connect(button, &QToolButton::clicked, window, spec.click);
        own.push_back(button);
    }
    exit = tools.addButton("tb_exit", "退出", 4);
    QObject::connect(exit, &QToolButton::clicked, window, &QWidget::close);
    band = tools.band();
}

QFrame* queryStatusBar(QWidget* window, int height, const QString& countText, int contactPixels,
                       const StatusBarFields& fields) {
    const StatusBar status(window, height, countText, contactPixels,
                           window->palette().color(QPalette::WindowText));
    fields.count = status.count;
    fields.workStatus = status.work;
    fields.cancel = status.cancel;
    fields.web = status.contacts->webField();
    fields.email = status.contacts->emailField();
    fields.qq = status.contacts->qqField();
    return status.bar;
}

bool runIntoGrid(WindowWork& work, QWidget* window, ResultGrid& grid, QLabel& count,
                 const std::vector<std::string>& statement, const std::string& criteria,
                 const QString& failure) {
    if (work.busy())
        return false;
    const ResultQuery& query = grid.query();
    if (!query.connection().isOpen()) {
        showPrompt(window, kNotConnectedMessage);
        return false;
    }
    // The marked title keeps its word: the new rows come sorted as the old ones were.
    const std::string sortOrder = grid.titles().markedSortOrder();
    const QString countBefore = count.text();
    grid.clearForRun(statement);
    count.setText("正在查询……"); // no other query's count over its empty grid
    grid.model()->setCriteriaText(QString::fromStdString(criteria));
    // The rows show as they arrive; once the last is in, they are sorted and summed.
    auto arrival = std::make_shared<RowArrival>();
    auto order = std::make_shared<std::vector<std::uint32_t>>();
    work.start({
        [arrival, order, sortOrder, &connection = query.connection(), text = query.commandText(),
         declared = query.declaredFields(),
         endRowsStay = query.endRowsStay()](WorkControl& control) {
            connection.fetchInto(text, declared, control, *arrival);
            if (!sortOrder.empty())
                *order = ResultQuery::sortedOrder(*arrival->result(), sortOrder, endRowsStay);
        },
        [](const WorkControl& control, double seconds) {
            // Until the first row arrives the server is still working on the statement.
            if (control.done() == 0)
                return QString("正在等待数据库……");
            return QString("正在查询：%1 秒").arg(seconds, 0, 'f', 1);
        },
        [&work, window, &grid, &count, arrival, order, sortOrder, statement, failure,
         countBefore](std::exception_ptr error) {
            try {
                if (error)
                    std::rethrow_exception(error);
                if (!grid.showRows(arrival->result(), sortOrder, std::move(*order)))
                    throw DbError("too many rows");
            } catch (const WorkCancelled&) {
                grid.clearForRun(statement); // rows so far are no answer
                work.showOutcome("查询已取消");
                count.setText("记录数为：");
                return;
            } catch (const std::exception&) {
                grid.clearForRun(statement);
                count.setText(countBefore);
                showPrompt(window, failure);
                return;
            }
            count.setText(recordCountText(grid.query()));
        },
        WindowWork::Task::Uses::Connection,
        [window, &grid, &count, arrival] {
            const std::shared_ptr<const ResultSet> rows = arrival->result();
            if (!rows || rows->rowCount() == 0 || !grid.showArrivingRows(rows))
                return;
            window->setCursor(Qt::BusyCursor); // the rows so far may be looked at meanwhile
            count.setText("正在读取：" + CellText::groupedCount(grid.query().rowCount()) + " 行");
        },
    });
    return true;
}

QString recordCountText(const ResultQuery& query) {
    if (!query.isFiltered())
        return "记录数为：" + QString::number(query.recordCount());
    return QString("记录数为：%1（共 %2）").arg(query.recordCount()).arg(query.totalRecordCount());
}

void clearResult(ResultGrid& grid, QLabel& count) {
    grid.clearForRun({});
    grid.model()->setCriteriaText({});
    count.setText("记录数为：");
}

void runGridWorkAs(WindowWork& work, ResultGrid& grid) {
    grid.setWorkRunner(
        [&work](const QString& action, BackgroundJob::Work job, BackgroundJob::Finished finished) {
            const QString status = "正在" + action + "……";
            work.start({
                std::move(job),
                [status](const WorkControl&, double) { return status; },
                [&work, action, finished = std::move(finished)](std::exception_ptr error) {
                    try {
                        if (error)
                            std::rethrow_exception(error);
                    } catch (const WorkCancelled&) {
                    } catch (const std::exception&) {
                        work.showOutcome(action + "未完成");
                    }
                    finished(error);
                },
                WindowWork::Task::Uses::Nothing,
            });
        });
}

QAction* addGridMenuEntry(QWidget* window, ResultGrid& grid, const QString& caption,
                          const std::function<void()>& run, const QKeySequence& key) {
    auto* action = new QAction(caption, window);
    action->setShortcut(key);
    QObject::connect(action, &QAction::triggered, window, run);
    window->addAction(action);
    grid.body()->addMenuAction(action);
    return action;
}

bool resultReadyFor(WindowWork& work, QWidget* window, const ResultGrid& grid,
                    const QString& doing) {
    if (work.busy())
        return false;
    if (!grid.query().isOpen()) {
        showPrompt(window, QString("还没有查询结果可以%1，请先查询。").arg(doing));
        return false;
    }
    return true;
}
