#include "SaveDialog.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>

namespace {

// The file list's columns as Qt's file system model numbers them.
enum Column { Name = 0, Size = 1, Type = 2, Modified = 3 };

class ChineseFileList : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() == Name)
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        const QLocale locale;
        switch (index.column()) {
        case Size:
            return info.isDir() ? QString() : locale.formattedDataSize(info.size());
        case Type:
            if (info.isDir())
                return QString("文件夹");
            return info.suffix().isEmpty() ? QString("文件")
                                           : QString("%1 文件").arg(info.suffix().toUpper());
        case Modified:
            return locale.toString(info.lastModified(), QLocale::ShortFormat);
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const QStringList titles = {"名称", "大小", "类型", "修改日期"};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < titles.size())
            return titles[section];
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
};

} // namespace

void readyChineseSaveDialog(QFileDialog& dialog) {
    dialog.setProxyModel(new ChineseFileList(&dialog));
    dialog.resize(dialog.sizeHint().expandedTo(QSize(760, 480)));
    // Sizes, types and dates read whole ("30.5 KiB", not "30....KiB"); names take the rest.
    if (auto* details = dialog.findChild<QTreeView*>("treeView")) {
        QHeaderView& titles = *details->header();
        titles.setStretchLastSection(false);
        titles.setSectionResizeMode(Name, QHeaderView::Stretch);
        for (const Column column : {Size, Type, Modified})
            titles.setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}
