#include "QtChinese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installQtChinese() {
    static QTranslator qtbase; // lives as long as the application
    // Qt's own folder where Qt is installed (Linux), else the one shipped beside the program
    // (Windows).
    if (!qtbase.load("qtbase_zh_CN", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        !qtbase.load("qtbase_zh_CN", QCoreApplication::applicationDirPath() + "/translations"))
        return false;
    return QCoreApplication::installTranslator(&qtbase);
}

void useChineseWithoutSystemLocale(const QLocale& system) {
    if (system.language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}
