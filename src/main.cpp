// stockquery: current stock and the receipt/issue journal of an ERP database, read only.
#include "app/Tfrm_xclquery.h"
#include "forms/ProgramEnd.h"
#include "forms/QtChinese.h"
#include "table/BackgroundJob.h"

#include <QApplication>
#include <QLocale>
#ifdef _WIN32
#include "settings/DBLinkInfo.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace {

// Windows has no start script: the first start without a stored connection makes the demo
// database under the user's local application data with demo_setup, shipped beside the
// program, which also stores the demo connection.
void prepareDemoOnFirstStart() {
    ConnectionSettings stored;
    if (!loadDBLinkInfo(stored) || !stored.user.empty())
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QProcess::execute(QApplication::applicationDirPath() + "/demo_setup.exe",
                      {QDir::toNativeSeparators(folder + "/demo-erp.sqlite")});
}

} // namespace
#endif

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("stockquery");
    installQtChinese();
    useChineseWithoutSystemLocale(QLocale::system());
#ifdef _WIN32
    prepareDemoOnFirstStart();
#endif
    programEnd::arm();
    auto* window = new Tfrm_xclquery;
    window->showMaximized();
    const int status = QApplication::exec();
    // Work that was let go ends within the second that programEnd gives it.
    BackgroundJob::waitForAll();
    return status;
}
