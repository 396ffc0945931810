// stockquery: current stock and the receipt/issue journal of an ERP database, read only.
#include "app/FirstStart.h"
#include "app/Tfrm_xclquery.h"
#include "forms/MemoryUse.h"
#include "forms/ProgramEnd.h"
#include "forms/QtChinese.h"
#include "forms/UserManual.h"
#include "table/BackgroundJob.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("stockquery");
    limitMemoryHeldAllDay();
    installQtChinese();
    useChineseWithoutSystemLocale(QLocale::system());
    installManualKey(application);
    prepareDemoOnFirstStart();
    programEnd::arm();
    auto* window = new Tfrm_xclquery;
    window->showMaximized();
    const int status = QApplication::exec();
    // Work that was let go ends within the second that programEnd gives it.
    BackgroundJob::waitForAll();
    return status;
}
