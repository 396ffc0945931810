#include "SaveFolder.h"

#include "settings/ExportPreferences.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString saveDialogFolder(const ExportPreferences& last) {
    const QString folder = QString::fromStdString(last.folder);
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void rememberSaveFolder(const QString& savedPath) {
    ExportPreferences preferences = readExportPreferences();
    preferences.folder = QFileInfo(savedPath).absolutePath().toStdString();
    writeExportPreferences(preferences);
}
