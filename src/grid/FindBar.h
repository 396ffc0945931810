#pragma once

#include "table/TableFind.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class BackgroundJob;
class GridBody;
class QLabel;
class QLineEdit;
class ResultTableModel;

// The find bar under a grid. Typing goes to the nearest row, in display order from the current
// one, with a cell that contains the text (case ignored, as the cell shows it); the rows
// nearby are looked at on the spot, the whole result on a worker, which then gives the count.
// Enter and F3 go to the next hit, Shift+Enter and Shift+F3 to the one before; Escape closes
// the bar. Found cells are marked in the grid while it is open.
class FindBar : public QWidget {
    Q_OBJECT
public:
    // Rows looked at on the interface thread at each keystroke, well inside a tenth of a second
    // on a million rows.
    static constexpr std::size_t kNearbyRows = 20000;

    FindBar(ResultTableModel& model, GridBody& body, QWidget* parent = nullptr);
    ~FindBar() override;

    // Shows the bar with its text picked, ready for typing.
    void open();
    void close();
    void findNext(bool forward);

    QLineEdit* edit() const { return edit_; }
    // "第 i 个，共 n 个" once counted.
    QString statusText() const;
    // Every hit's display position, once counted.
    const std::optional<std::vector<std::uint32_t>>& hits() const { return hits_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The text or the rows changed: find from the current row, and count again.
    void restart();
    void goTo(int position);
    // The count is in: keeps the hits, and goes to the next one from the current row unless
    // the rows looked at on the spot `placed` the grid on one already.
    void takeCount(std::vector<std::uint32_t> hits, bool placed);
    void showStatus();

    ResultTableModel& model_;
    GridBody& body_;
    QLineEdit* edit_;
    QLabel* status_;
    std::optional<TableFind> nearby_;
    std::optional<std::vector<std::uint32_t>> hits_;
    std::unique_ptr<BackgroundJob> counting_;
};
