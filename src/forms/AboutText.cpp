#include "AboutText.h"

#include "ConnectionStatus.h"
#include "ProgramVersion.h"
#include "db/Connection.h"
#include "db/UsedLibraries.h"

#include <QStringList>
#include <QtGlobal>

#include <unicode/uvernum.h>
#include <xlsxwriter.h>

namespace {

QString libraryLine(const UsedLibrary& library) {
    QString line = QString::fromStdString(library.name);
    if (!library.version.empty())
        line += " " + QString::fromStdString(library.version);
    return line + "（" + QString::fromStdString(library.licence) + "）";
}

QString licenceFileText() {
#if defined(_WIN32)
    return "程序文件夹中的 LICENSE.txt，各程序库的许可证在 licences 文件夹中";
#else
    return "/usr/share/common-licenses/GPL-3，各程序库的版权说明在 /usr/share/doc/ "
           "下各自的文件夹中";
#endif
}

} // namespace

QString aboutText(const Connection& connection) {
    QStringList lines{
        "现存量查询（stockquery）",
        QString("版本 %1，构建于 %2").arg(kProgramVersion, kProgramBuildDate),
        "",
        "本程序是自由软件：可以按自由软件基金会发布的 GNU 通用公共许可证第 3 版，或（由您选择）"
        "任何更新的版本（GPL-3.0-or-later）再发布和修改。",
        "本程序不提供任何担保，亦无对适销性或特定用途适用性的默示担保。",
        "许可证全文：" + licenceFileText() + "。",
        QString("源代码：stockquery-%1-source.tar.xz，与安装包一同发布。").arg(kProgramVersion),
        "",
        "使用的程序库：",
        libraryLine({"Qt", qVersion(), "LGPL-3.0-only；Qt Charts 为 GPL-3.0-only"}),
        libraryLine({"libxlsxwriter", LXW_VERSION, "BSD-2-Clause"}),
        libraryLine({"ICU", U_ICU_VERSION, "Unicode-DFS-2016"}),
    };
    for (const UsedLibrary& library : databaseLibraries())
        lines << libraryLine(library);
    lines << ""
          << "当前连接：";
    if (!connection.isOpen())
        lines << "未连接数据库";
    else
        lines << connectionStatusText(connection) << connectionDetailsText(connection).split('\n');
    return lines.join('\n');
}
