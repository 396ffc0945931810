// stockquery: current stock and the receipt/issue journal of an ERP database, read only.
#include "app/Tfrm_xclquery.h"
#include "forms/BackgroundJob.h"
#include "forms/QtChinese.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("stockquery");
    installQtChinese();
    auto* window = new Tfrm_xclquery;
    window->showMaximized();
    const int status = QApplication::exec();
    // A connection attempt that was let go may still wait in the driver for its time-out.
    BackgroundJob::waitForAll();
    return status;
}
