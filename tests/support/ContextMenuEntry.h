#pragma once

#include "grid/GridBody.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <QtTest>

// Opens the grid's context menu over a cell (of the first column unless told) and triggers its
// entry named `entry`.
inline void chooseFromContextMenu(GridBody& body, int row, const QString& entry, int column = 0) {
    QTimer::singleShot(50, [entry] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction* action : menu->actions())
            if (action->text() == entry)
                action->trigger();
        menu->close();
    });
    const QPoint at = body.cellRect(row, column).center();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, body.mapToGlobal(at));
    QApplication::sendEvent(body.viewport(), &menuEvent);
}
