#include "FirstStart.h"

#include "demo/DemoSetup.h"
#include "settings/DBLinkInfo.h"

#include <QStandardPaths>
#include <QString>

void prepareDemoOnFirstStart() {
    ConnectionSettings stored;
    if (!loadDBLinkInfo(stored) || namesALogin(stored))
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    prepareDemoConnection((folder + "/demo-erp.sqlite").toStdString());
}
