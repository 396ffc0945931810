#include "forms/UserManual.h"

#include "forms/MessageBoxes.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QUrl>
#include <QWidget>

namespace {

constexpr const char* kPageProperty = "manualPage";

// The page named by the window (or the nearest window over it) that holds `widget`.
QString pageOf(QWidget* widget) {
    for (; widget; widget = widget->parentWidget())
        if (const QVariant page = widget->property(kPageProperty); page.isValid())
            return page.toString();
    return "index";
}

class ManualKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || key->isAutoRepeat())
            return false;
        // The key's first receiver (the focus widget, else the window) takes it, so that its
        // parents never see it.
        QWidget* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        openManualPage(widget, pageOf(widget));
        return true;
    }
};

} // namespace

void setManualPage(QWidget& window, const char* page) {
    window.setProperty(kPageProperty, QString::fromUtf8(page));
}

void installManualKey(QApplication& application) {
    application.installEventFilter(new ManualKey(&application));
}

QString manualFolder() {
    const QDir program(QCoreApplication::applicationDirPath());
    for (const char* place : {"manual", "../share/doc/stockquery/manual", "../manual"})
        if (QFileInfo::exists(program.filePath(QString(place) + "/index.html")))
            return QDir::cleanPath(program.filePath(place));
    return {};
}

void openManualPage(QWidget* owner, const QString& page) {
    const QString folder = manualFolder();
    if (folder.isEmpty()) {
        showPrompt(owner, "找不到使用手册：它应在程序所在文件夹的 manual 文件夹中"
                          "（Linux 上在 /usr/share/doc/stockquery/manual）。请重新安装本程序。");
        return;
    }
    const QString file = folder + "/" + page + ".html";
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        showPrompt(owner, QString("无法打开浏览器。请用浏览器打开使用手册：%1")
                              .arg(QDir::toNativeSeparators(file)));
}
