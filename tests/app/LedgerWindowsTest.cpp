// The summary, stock card and ageing windows on the demo: the summary's default period, its
// rows per item and per batch against the statement's, and the card each row opens (from a
// summary row, a current-stock row and an ageing row), which opens and closes on the row's own
// balances; the card keeps each line's balance through a sort, and asks for what it lacks; the
// ageing keeps its bands and refuses bad ones, and its rows open their journal.
#include "app/Tfrm_ageing.h"
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_stockcard.h"
#include "app/Tfrm_summary.h"
#include "app/Tfrm_xclquery.h"
#include "forms/FormParts.h"
#include "grid/GridBody.h"
#include "grid/ResultGrid.h"
#include "ledger/AgeingQuery.h"
#include "ledger/PeriodSummaryQuery.h"
#include "support/ContextMenuEntry.h"
#include "support/LedgerTestParts.h"
#include "support/MessageBoxWatcher.h"
#include "support/Patience.h"
#include "support/SettingsSandbox.h"
#include "support/WhenOpen.h"
#include "table/ResultTableModel.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QtTest>

#include <map>

namespace {

struct MainOnDemo {
    MainOnDemo() {
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.ado_conn.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        main.ado_conn.open();
    }
    SettingsSandbox settings;
    Tfrm_xclquery main;
};

// A cell of a grid's row as it shows it.
QString cell(const ResultGrid& grid, int row, const char* field) {
    const ResultTableModel& model = *grid.model();
    return model.index(row, model.columnOf(field)).data().toString();
}

// A number of a grid's row, as read.
double figure(const ResultGrid& grid, int row, const char* field) {
    const ResultQuery& query = grid.query();
    return query.result()
        .column(query.fieldIndex(field))
        .asFloat(query.rowAt(static_cast<std::size_t>(row)));
}

// The first row of `grid` for which `take` holds; -1 when none.
int firstRowWhere(const ResultGrid& grid, const std::function<bool(int)>& take) {
    for (int row = 0; row < static_cast<int>(grid.query().rowCount()); ++row)
        if (take(row))
            return row;
    return -1;
}

// Waits for the card's query that opening it started.
bool cardQueried(Tfrm_stockcard& card) {
    return QTest::qWaitFor(
        [&] {
            return !card.work().busy() && card.Panel4->text().contains(QRegularExpression("\\d"));
        },
        kEventWait);
}

// The card's opening and closing balances are the row's own.
void checkCardEnds(Tfrm_stockcard& card, double opening, double closing) {
    const ResultGrid& grid = *card.grid();
    const int last = static_cast<int>(grid.query().rowCount()) - 1;
    QCOMPARE(cell(grid, 0, "摘要"), QString("期初结存"));
    QCOMPARE(cell(grid, last, "摘要"), QString("期末结存"));
    QVERIFY(nearlyEqual(figure(grid, 0, "结存数量"), opening));
    QVERIFY(nearlyEqual(figure(grid, last, "结存数量"), closing));
}

} // namespace

class LedgerWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void theSummaryOpensFromTheMainWindowOnThisMonth() {
        MainOnDemo w;
        const QDate today = QDate::currentDate();
        QVERIFY(whenOpen<Tfrm_summary>(
            [&] { w.main.tbn_summary->click(); },
            [&](Tfrm_summary& summary) {
                QVERIFY(summary.isModal());
                QCOMPARE(summary.windowTitle(), QString("收发存汇总"));
                QCOMPARE(summary.dates->date(), QDate(today.year(), today.month(), 1));
                QCOMPARE(summary.datee->date(), today);
                // Its status bar's contacts read whole across a
                // screen of 1280.
                summary.resize(1280, 700);
                QTRY_COMPARE(summary.width(), 1280);
                const auto fields =
                    summary.findChild<QFrame*>("Panel5")->findChildren<QLineEdit*>();
                QCOMPARE(fields.size(), 3);
                for (const QLineEdit* field : fields)
                    QVERIFY2(field->contentsRect().width() >
                                 field->fontMetrics().horizontalAdvance(field->text()) + 2,
                             qPrintable(field->text()));
                summary.close();
            }));
        QCOMPARE(frm_summary, nullptr);
        // From the grid's menu as well.
        w.main.RunQuery();
        w.main.work().waitUntilDone();
        QVERIFY(whenOpen<Tfrm_summary>(
            [&] { chooseFromContextMenu(*w.main.dbg_xclinfo->body(), 0, "收发存汇总"); },
            [](Tfrm_summary& summary) { summary.close(); }));
    }

    void summaryRowsPerItemAndPerBatchAreTheStatementsAndEachOpensItsCard() {
        MainOnDemo w;
        Tfrm_summary summary(w.main.ado_conn);
        summary.FormShow();
        summary.dates->setDate(QDate::currentDate().addMonths(-3));
        for (const bool byBatch : {false, true, false}) {
            summary.chk_batch->setChecked(byBatch);
            summary.RunQuery();
            summary.work().waitUntilDone();
            const ResultGrid& grid = *summary.grid();
            PeriodSummaryCriteria criteria;
            criteria.dateFrom = isoDate(*summary.dates);
            criteria.dateTo = todayText();
            criteria.byBatch = byBatch;
            const ResultQuery expected =
                openedQuery(w.main.ado_conn, periodSummaryQuery(byBatch), criteria);
            QCOMPARE(grid.query().rowCount(), expected.rowCount());
            QCOMPARE(summary.Panel4->text(), "记录数为：" + QString::number(expected.rowCount()));
            QCOMPARE(grid.model()->columnOf("批号") >= 0, byBatch);

            // A row that moved in the period opens the card of its warehouse, item (and batch)
            // over the period shown, from its opening to its closing balance.
            const int row = firstRowWhere(grid, [&](int r) {
                return figure(grid, r, "出库数量") > 0 && figure(grid, r, "入库数量") > 0;
            });
            QVERIFY(row >= 0);
            summary.grid()->body()->setCurrentCell(row, 0);
            QVERIFY(whenOpen<Tfrm_stockcard>(
                [&] { summary.act_rowCard->trigger(); },
                [&](Tfrm_stockcard& card) {
                    QVERIFY(cardQueried(card));
                    QCOMPARE(card.edt_whcode->text(), cell(grid, row, "仓库编码"));
                    QCOMPARE(card.edt_code->text(), cell(grid, row, "存货编码"));
                    QCOMPARE(card.chk_batch->isChecked(), byBatch);
                    if (byBatch)
                        QCOMPARE(card.edt_batch->text(), cell(grid, row, "批号"));
                    QCOMPARE(card.dates->date(), summary.dates->date());
                    QCOMPARE(card.datee->date(), summary.datee->date());
                    QVERIFY(card.lbl_subject->text().contains(cell(grid, row, "存货名称")));
                    checkCardEnds(card, figure(grid, row, "期初数量"),
                                  figure(grid, row, "期末数量"));
                    card.close();
                }));
        }
    }

    void theAgeingKeepsTheBandsItRanWithAndRefusesBadOnes() {
        MessageBoxWatcher boxes;
        MainOnDemo w;
        QVERIFY(whenOpen<Tfrm_ageing>(
            [&] { w.main.tbn_ageing->click(); },
            [&](Tfrm_ageing& ageing) {
                QVERIFY(ageing.isModal());
                QCOMPARE(ageing.windowTitle(), QString("库龄分析"));
                QCOMPARE(ageing.date_asof->date(), QDate::currentDate());
                QCOMPARE(ageing.edt_bands->text(), QString("30,60,90,180,365"));
                ageing.edt_bands->setText(" 15，45, 400 ");
                ageing.edt_name->setText("轴承");
                QTest::keyClick(ageing.edt_name, Qt::Key_Return);
                ageing.work().waitUntilDone();
                AgeingCriteria criteria;
                criteria.asOf = todayText();
                criteria.bands = {15, 45, 400};
                criteria.name = "轴承";
                const auto& query = ageingQuery(criteria.bands, false);
                const ResultQuery expected = openedQuery(w.main.ado_conn, query, criteria);
                QVERIFY(expected.rowCount() > 100);
                QCOMPARE(ageing.grid()->query().rowCount(), expected.rowCount());
                for (const char* band : {"0-15天", "16-45天", "46-400天", "400天以上"})
                    QVERIFY2(ageing.grid()->model()->columnOf(band) >= 0, band);
                QCOMPARE(ageing.grid()->model()->columnOf("0-30天"), -1);
                // Bands that cannot be are refused, and the rows shown stay.
                for (const char* bad :
                     {"30,10", "0,30", "三十", "", "1,2,3,4,5,6,7,8,9,10,11,12,13"}) {
                    const qsizetype before = boxes.seen().size();
                    ageing.edt_bands->setText(bad);
                    ageing.RunQuery();
                    QTRY_COMPARE(boxes.seen().size(), before + 1);
                    QVERIFY(boxes.texts().back().startsWith("库龄分段应为"));
                    QCOMPARE(ageing.grid()->query().rowCount(), expected.rowCount());
                }
                ageing.close();
            }));
        // The bands last run with are there the next time.
        QVERIFY(whenOpen<Tfrm_ageing>([&] { w.main.ShowAgeing(); },
                                      [&](Tfrm_ageing& ageing) {
                                          QCOMPARE(ageing.edt_bands->text(), QString("15,45,400"));
                                          ageing.close();
                                      }));
    }

    void anAgeingRowOpensItsCardOverTheBandsAndItsJournal() {
        MainOnDemo w;
        Tfrm_ageing ageing(w.main.ado_conn);
        ageing.FormShow();
        ageing.chk_batch->setChecked(true);
        ageing.edt_bands->setText("30,90");
        ageing.RunQuery();
        ageing.work().waitUntilDone();
        const ResultGrid& grid = *ageing.grid();
        const int row = firstRowWhere(grid, [&](int r) {
            return cell(grid, r, "仓库") == "原材料库" && figure(grid, r, "结存数量") > 0 &&
                   !cell(grid, r, "最近出库日期").isEmpty();
        });
        QVERIFY(row >= 0);
        ageing.grid()->body()->setCurrentCell(row, 0);
        QCOMPARE(ageing.act_rowCard->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
        QVERIFY(whenOpen<Tfrm_stockcard>(
            [&] { ageing.act_rowCard->trigger(); },
            [&](Tfrm_stockcard& card) {
                QVERIFY(cardQueried(card));
                QCOMPARE(card.edt_whcode->text(), cell(grid, row, "仓库编码"));
                QCOMPARE(card.edt_code->text(), cell(grid, row, "存货编码"));
                QCOMPARE(card.edt_batch->text(), cell(grid, row, "批号"));
                QCOMPARE(card.dates->date(), QDate::currentDate().addDays(-90));
                QCOMPARE(card.datee->date(), QDate::currentDate());
                const ResultGrid& lines = *card.grid();
                const double closing =
                    figure(lines, static_cast<int>(lines.query().rowCount()) - 1, "结存数量");
                QVERIFY(nearlyEqual(closing, figure(grid, row, "结存数量")));
                card.close();
            }));
        QCOMPARE(ageing.act_rowJournal->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_J));
        QVERIFY(whenOpen<Tfrm_crquery>(
            [&] { ageing.act_rowJournal->trigger(); },
            [&](Tfrm_crquery& journal) {
                QCOMPARE(journal.edt_code->text(), cell(grid, row, "存货编码"));
                QCOMPARE(journal.lbb_store->count(), 1);
                QVERIFY(journal.lbb_store->item(0)->text().contains(cell(grid, row, "仓库")));
                journal.close();
            }));
    }

    void aStockRowsCardEndsOnItsStockToday() {
        MessageBoxWatcher boxes;
        MainOnDemo w;
        w.main.RunQuery();
        w.main.work().waitUntilDone();
        const ResultGrid& grid = *w.main.dbg_xclinfo;
        // A warehouse whose name no other warehouse has: the card opens without a question.
        const int row = firstRowWhere(grid, [&](int r) {
            return cell(grid, r, "仓库名称") == "原材料库" && !cell(grid, r, "批号").isEmpty();
        });
        QVERIFY(row >= 0);
        w.main.dbg_xclinfo->body()->setCurrentCell(row, 0);
        const QDate today = QDate::currentDate();
        QVERIFY(whenOpen<Tfrm_stockcard>(
            [&] { w.main.act_rowCard->trigger(); },
            [&](Tfrm_stockcard& card) {
                QVERIFY(cardQueried(card));
                QCOMPARE(card.edt_whcode->text(), QString("01"));
                QCOMPARE(card.edt_code->text(), cell(grid, row, "存货编码"));
                QVERIFY(card.chk_batch->isChecked());
                QCOMPARE(card.edt_batch->text(), cell(grid, row, "批号"));
                QCOMPARE(card.dates->date(), QDate(today.year(), today.month(), 1));
                QCOMPARE(card.datee->date(), today);
                const ResultGrid& lines = *card.grid();
                const double closing =
                    figure(lines, static_cast<int>(lines.query().rowCount()) - 1, "结存数量");
                QVERIFY(nearlyEqual(closing, figure(grid, row, "现存量")));
                card.close();
            }));
        QVERIFY(boxes.seen().empty());
        QCOMPARE(w.main.act_rowCard->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    }

    void sortingTheCardKeepsEachLinesBalanceAndItAsksForWhatItLacks() {
        MessageBoxWatcher boxes;
        MainOnDemo w;
        Tfrm_stockcard card(w.main.ado_conn);
        card.RunQuery();
        QTRY_COMPARE(boxes.seen().size(), 1U);
        QCOMPARE(boxes.texts()[0], QString("请输入仓库编码和存货编码。"));
        QVERIFY(!card.work().busy());

        card.edt_whcode->setText("12");
        card.edt_code->setText("0002091");
        card.dates->setDate(QDate(QDate::currentDate().year(), 1, 1));
        card.datee->setDate(card.dates->date().addDays(-1));
        card.RunQuery();
        QTRY_COMPARE(boxes.seen().size(), 2U);
        QCOMPARE(boxes.texts()[1], QString("期间的开始日期晚于结束日期，请重新选择。"));

        card.datee->setDate(QDate::currentDate());
        QTest::keyClick(card.edt_code, Qt::Key_Return);
        card.work().waitUntilDone();
        const ResultGrid& grid = *card.grid();
        QVERIFY(grid.query().rowCount() > 3);
        // The balance after each line, by document number and line as booked.
        const auto balances = [&] {
            std::map<QString, QString> byDocument;
            for (int row = 0; row < static_cast<int>(grid.query().rowCount()); ++row)
                byDocument[cell(grid, row, "单据号") + "|" + cell(grid, row, "摘要") + "|" +
                           cell(grid, row, "入库数量") + "|" + cell(grid, row, "出库数量")] =
                    cell(grid, row, "结存数量");
            return byDocument;
        };
        const auto booked = balances();
        QCOMPARE(booked.size(), grid.query().rowCount());
        const int rows = static_cast<int>(grid.query().rowCount());
        QCOMPARE(card.Panel4->text(), "记录数为：" + QString::number(rows - 2)); // the lines
        // Every sort, either way, keeps the opening first and the closing last.
        for (const char* field : {"出库数量", "出库数量", "结存数量", "单据号", "摘要"}) {
            emit card.grid()->titleClicked(grid.model()->columnOf(field));
            card.work().waitUntilDone();
            QVERIFY(grid.query().sortOrder().starts_with(field));
            QCOMPARE(cell(grid, 0, "摘要"), QString("期初结存"));
            QCOMPARE(cell(grid, rows - 1, "摘要"), QString("期末结存"));
            QCOMPARE(balances(), booked);
        }
        QCOMPARE(card.Panel4->text(), "记录数为：" + QString::number(rows - 2));
        QCOMPARE(boxes.seen().size(), 2U);
    }

    void theCardsCaptionNamesTheBatchOnlyWhileTheCardIsOfOne() {
        MainOnDemo w;
        Tfrm_stockcard card(w.main.ado_conn);
        StockCardCriteria criteria{"12", "0001191", std::string(), "2026-01-01", "2026-01-31"};
        card.QueryFor(criteria, "存货：0001191 某物　仓库：12 半成品库");
        QTRY_VERIFY(card.work().busy());
        card.work().waitUntilDone();
        QCOMPARE(card.lbl_subject->text(),
                 QString("存货：0001191 某物　仓库：12 半成品库　批号：（空）"));
        card.chk_batch->setChecked(false);
        card.RunQuery();
        card.work().waitUntilDone();
        QCOMPARE(card.lbl_subject->text(), QString("存货：0001191 某物　仓库：12 半成品库"));
        card.edt_batch->setText("B1");
        card.chk_batch->setChecked(true);
        card.RunQuery();
        card.work().waitUntilDone();
        QCOMPARE(card.lbl_subject->text(),
                 QString("存货：0001191 某物　仓库：12 半成品库　批号：B1"));
    }
};

QTEST_MAIN(LedgerWindowsTest)
#include "LedgerWindowsTest.moc"
