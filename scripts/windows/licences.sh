#!/usr/bin/env bash
# The licences and notices that the shipped libraries require, into FOLDER as Windows text
# files: Qt (LGPL-3 with GPL-3, its bundled libraries, and how to relink; Qt Charts GPL-3),
# ICU, SQLite, libxlsxwriter, zlib, the GCC runtime and winpthreads. Read from the Debian
# sources in SOURCES and from Debian's copyright files of the MinGW-w64 packages. VERSION names
# the source archive published beside the programs.
#   licences.sh SOURCES FOLDER VERSION
set -euo pipefail
sources=$1 folder=$2 version=$3
source_of() { find "$sources" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -n1; }
qt=$(source_of qt6-base) icu=$(source_of icu) xlsx=$(source_of libxlsxwriter)
mkdir -p "$folder"
windows_text() { sed 's/\r$//; s/$/\r/' >"$folder/$1"; } # CRLF, for every Windows editor

{
    printf '\xef\xbb\xbf' # UTF-8 with its mark: the installer's licence page and Notepad read it so
    cat <<TEXT
stockquery 第三方软件许可 / Third-party licences
=================================================

stockquery 本身的许可见程序文件夹中的 LICENSE.txt（GPL-3.0 或更新版本）；其对应源代码
stockquery-$version-source.tar.xz 与本程序一同发布（其中也有下列 Qt Charts、Qt SVG 的源代码）。
stockquery itself is under the GPL-3.0-or-later (LICENSE.txt in the program's folder); its
corresponding source, stockquery-$version-source.tar.xz, is published beside this program and
holds the Qt Charts and Qt SVG sources below as well.

stockquery 使用以下开源软件，其许可全文见本文件夹。
stockquery uses the following open-source software; the full licences are in this folder.

Qt $(basename "$qt" | sed 's/^qt6-base-//; s/+dfsg//') (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, Qt6PrintSupport.dll 及 platforms、styles 插件)
    GNU Lesser General Public License v3 (LGPL-3.0.txt, GPL-3.0.txt)
    Qt 内含的第三方库见 Qt-third-party.txt / Qt's bundled libraries: Qt-third-party.txt
    重新链接 / Relinking: stockquery 以动态链接方式使用 Qt。您可以用自行编译的同一版本
    Qt（源代码：Debian 源码包 qt6-base $(sed -n 's/^Version: //p' "$sources"/qt6-base_*.dsc)，或 https://download.qt.io/）
    替换程序文件夹中的 Qt DLL 及插件，程序即使用您的版本。
    stockquery links Qt dynamically: build the same Qt version yourself (source: the Debian
    source package qt6-base $(sed -n 's/^Version: //p' "$sources"/qt6-base_*.dsc), or https://download.qt.io/) and put your DLLs and
    plugins in place of those in the program's folder; the program then uses yours.

Qt Charts 6.4.2 (Qt6Charts.dll)
    GNU General Public License v3 (GPL-3.0.txt)
    源代码 / Source: third_party/qt/qtcharts-6.4.2.tar.xz in stockquery-$version-source.tar.xz

Qt SVG 6.4.2 (Qt6Svg.dll)
    GNU Lesser General Public License v3 (LGPL-3.0.txt, GPL-3.0.txt)
    源代码 / Source: third_party/qt/qtsvg-6.4.2.tar.xz in stockquery-$version-source.tar.xz

ICU $(basename "$icu" | sed 's/^icu-//') (icuuc72.dll, icuin72.dll, icudt72.dll)
    Unicode License (ICU.txt)

SQLite $(basename "$(source_of sqlite3)" | sed 's/^sqlite3-//')
    公有领域 / Public domain (SQLite.txt)

libxlsxwriter $(basename "$xlsx" | sed 's/^libxlsxwriter-//')
    BSD 2-Clause, with the licences of its bundled minizip, tmpfileplus and md5 (libxlsxwriter.txt)

zlib
    zlib License (zlib.txt)

GCC 运行库 / GCC runtime (libstdc++-6.dll, libgcc_s_seh-1.dll)
    GPL-3.0 with the GCC Runtime Library Exception (GCC-runtime.txt)

MinGW-w64 winpthreads (libwinpthread-1.dll)
    MIT and BSD licences (winpthreads.txt)
TEXT
} | windows_text README.txt

windows_text LGPL-3.0.txt <"$qt/LICENSES/LGPL-3.0-only.txt"
windows_text GPL-3.0.txt <"$qt/LICENSES/GPL-3.0-only.txt"
# Every library bundled in qtbase that a Windows build can contain.
python3 - "$qt/src/3rdparty" <<'PY' | windows_text Qt-third-party.txt
import glob, json, os, sys
skip = ("android", "Vulkan", "xcb", "x11", "wayland", "libjpeg", "gradle")
for path in sorted(glob.glob(os.path.join(sys.argv[1], "**", "qt_attribution.json"), recursive=True)):
    if any(word.lower() in path.lower() for word in skip):
        continue
    entries = json.loads(open(path, encoding="utf-8").read(), strict=False)
    for entry in entries if isinstance(entries, list) else [entries]:
        print(entry.get("Name", ""), entry.get("Version", ""))
        print("License:", entry.get("License", ""))
        print(entry.get("Copyright", ""))
        licence = os.path.join(os.path.dirname(path), entry.get("LicenseFile", ""))
        if entry.get("LicenseFile") and os.path.isfile(licence):
            print(open(licence, encoding="utf-8", errors="replace").read())
        print("-" * 72)
PY
windows_text ICU.txt <"$icu/LICENSE"
windows_text libxlsxwriter.txt <"$xlsx/License.txt"
windows_text zlib.txt </usr/share/doc/libz-mingw-w64-dev/copyright
windows_text GCC-runtime.txt </usr/share/doc/gcc-mingw-w64-base/copyright
sed -n '/^Files: mingw-w64-libraries\/winpthreads/,/^Files: [^m]/p' /usr/share/doc/mingw-w64-common/copyright |
    windows_text winpthreads.txt
windows_text SQLite.txt <<'TEXT'
SQLite is in the public domain.

The author disclaims copyright to this source code. In place of a legal notice, here is a
blessing:

    May you do good and not evil.
    May you find forgiveness for yourself and forgive others.
    May you share freely, never taking more than you give.
TEXT
