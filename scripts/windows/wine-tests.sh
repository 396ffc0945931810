#!/usr/bin/env bash
# The Windows build under Wine: the data-side tests and the window tests (offscreen); the
# export command's ODBC path through Wine's odbc32 (which hands the calls to the host's
# unixODBC, where a driver named "SQL Server" is FreeTDS) against the TDS stand-in, beside the
# Linux build's file of the same query; every format into Chinese-named files; the tools and
# the first start on Chinese paths; the command's console text; the print preview drawn on
# the windows platform, its page count that of the command's PDF; both chart windows, a chart
# saved as PNG and SVG and read back; the program itself under Xvfb
# with a screenshot; the installer, its uninstaller and signing; the programs' resources.
#   wine-tests.sh STAGE_DIR WINDOWS_BUILD_DIR DIST_DIR WINE_PREFIX QT_PREFIX
set -euo pipefail
stage=$1 build=$2 dist=$3 prefix=$5
repo=$(realpath "$(dirname "$0")/../..")
version=$("$(dirname "$0")/project-version.sh")
# shellcheck source=wine-session.sh
. "$(dirname "$0")/wine-session.sh"
work=$(mktemp -d)
xvfb=""
stand_in=""
finish() {
    [ -n "$stand_in" ] && kill "$stand_in" 2>/dev/null
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT
wine_session "$4" "$work"

echo "-- data-side tests"
mkdir -p "$work/tests"
cp -r "$stage"/. "$work/tests/"
cp "$build/tests/windows_data_tests.exe" "$work/tests/"
(cd "$work/tests" && wine make_demo_db.exe demo-test.sqlite >/dev/null &&
    wine windows_data_tests.exe --gtest_brief=1 | grep -v '^Running main')
echo "$(cd "$work/tests" && wine windows_data_tests.exe --gtest_list_tests | grep -c '^  ') tests passed"

echo "-- window tests on the offscreen platform (Wine keeps QT_* variables from Windows programs,"
echo "   hence -platform)"
cp "$prefix/bin/Qt6Test.dll" "$build"/tests/*_window_tests.exe "$build/tests/export_command_tests.exe" \
    "$build/tests/grid_filter_tests.exe" "$build/tests/layout_memory_tests.exe" \
    "$work/tests/"
cp "$prefix/plugins/platforms/qoffscreen.dll" "$work/tests/platforms/"
cp "$repo/tests/offscreen-screen.json" "$work/tests/" # a screen of 1280x800, as on Linux
for tests in main_window_tests journal_window_tests export_command_tests grid_filter_tests \
    layout_memory_tests; do
    (cd "$work/tests" && wine "$tests.exe" -platform offscreen:configfile=offscreen-screen.json -o "$tests.txt,txt" 2>/dev/null) ||
        { grep -v '^PASS' "$work/tests/$tests.txt" >&2 && exit 1; }
    echo "$tests: $(grep '^Totals' "$work/tests/$tests.txt")"
done

echo "-- the print preview as the Windows build draws it, on its own platform and fonts"
cp "$build/tools/render_window.exe" "$work/tests/"
preview_pages=$(cd "$work/tests" && wine render_window.exe main-print demo-test.sqlite \
    "$(windows_path "$dist")\\stockquery-wine-print.png" 轴承 -platform windows | grep -o '[0-9]\+')
test -s "$dist/stockquery-wine-print.png"
echo "print preview: $dist/stockquery-wine-print.png, $preview_pages pages"

echo "-- 图表 of both windows, offscreen with fonts of its own; a chart saved as PNG and as SVG"
mkdir -p "$work/tests/lib/fonts"
# WenQuanYi, as on Linux: the offscreen platform falls back to no other font for a digit.
cp /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
    "$work/tests/lib/fonts/"
printf '[Paths]\nPrefix=.\n' >"$work/tests/qt.conf" # the offscreen platform's fonts: ./lib/fonts
for window in main journal; do
    shot=$dist/stockquery-wine-chart-$([ "$window" = main ] && echo stock || echo journal).png
    (cd "$work/tests" && wine render_window.exe "$window-chart" demo-test.sqlite \
        "$(windows_path "$shot")" 轴承 --save-chart -platform offscreen)
    test -s "$shot"
done
rm -r "$work/tests/qt.conf" "$work/tests/lib"
saved=$dist/stockquery-wine-chart-stock-saved
test "$(identify -format '%m %wx%h' "$saved.png")" = "PNG 1200x720"
python3 - "$saved.svg" <<'PY'
import sys, xml.etree.ElementTree as tree
texts = ["".join(t.itertext()) for t in tree.parse(sys.argv[1]).iter("{http://www.w3.org/2000/svg}text")]
assert "现存量（按仓库）" in texts, texts[:5]
PY
mv "$saved.png" "$saved.svg" "$work/"
rm "$dist/stockquery-wine-chart-journal-saved".*
echo "charts: $dist/stockquery-wine-chart-stock.png, …-journal.png; saved PNG 1200×720 and an SVG"
echo "  whose title reads whole"

echo "-- the ODBC path: stockquery-export.exe through odbc32 and FreeTDS to the TDS stand-in"
cmake --preset default -S "$repo" >/dev/null
cmake --build "$repo/build/default" --parallel "$(nproc)" --target tds_stand_in stockquery-export
# The driver list that odbc32 reads: first the driver every Windows has alone, then beside the
# newer Microsoft drivers (here all FreeTDS under their names); the program takes the newest.
drivers() {
    for name in "$@"; do
        printf '[%s]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so\n' "$name"
    done >"$work/odbcinst.ini"
}
coproc STAND_IN { "$repo/build/default/tests/tds_stand_in" "$work/tests/demo-test.sqlite"; }
stand_in=$STAND_IN_PID
read -r address <&"${STAND_IN[0]}"
connection=(--server "$address" --database erp --user sa)
used() { # the driver that --test-connection names
    (cd "$work/tests" && ODBCSYSINI=$work STOCKQUERY_PASSWORD=pw wine stockquery-export.exe \
        --test-connection "${connection[@]}") | tr -d '\r' | sed -n 's/^driver: //p'
}
drivers "SQL Server"
case $(used) in "SQL Server "*) ;; *) echo "not the SQL Server driver: $(used)"; exit 1 ;; esac
drivers "SQL Server" "ODBC Driver 17 for SQL Server" "ODBC Driver 18 for SQL Server" \
    "SQL Server Native Client 11.0"
case $(used) in "ODBC Driver 18 for SQL Server "*) ;; *) echo "not Driver 18: $(used)"; exit 1 ;; esac
echo "the newest driver listed is the one connected through: $(used)"
arguments=(stock "${connection[@]}" --format txt)
(cd "$work/tests" && ODBCSYSINI=$work STOCKQUERY_PASSWORD=pw wine stockquery-export.exe \
    "${arguments[@]}" --output "$(windows_path "$work/wine.txt")")
STOCKQUERY_PASSWORD=pw QT_QPA_PLATFORM=offscreen "$repo/build/default/src/stockquery-export" \
    "${arguments[@]}" --output "$work/linux.txt"
cmp "$work/wine.txt" "$work/linux.txt"
echo "the same $(wc -c <"$work/wine.txt") bytes as the Linux build's file"

echo "-- every format into a Chinese-named file in a Chinese-named folder, beside the Linux build's"
folder="$work/测试 目录"
mkdir -p "$folder/linux"
demo=(stock --database d --user u)
for format in xls rtf html txt csv csv-utf8 xlsx; do
    (cd "$work/tests" && STOCKQUERY_PASSWORD=pw wine stockquery-export.exe "${demo[@]}" \
        --server "sqlite:$(windows_path "$work/tests/demo-test.sqlite")" --format "$format" \
        --output "$(windows_path "$folder")\\现存量-$format.out")
    STOCKQUERY_PASSWORD=pw QT_QPA_PLATFORM=offscreen "$repo/build/default/src/stockquery-export" \
        "${demo[@]}" --server "sqlite:$work/tests/demo-test.sqlite" --format "$format" \
        --output "$folder/linux/现存量-$format.out"
    case $format in
    # The workbook's cells; its zip times and column widths (font metrics) differ.
    xlsx) same() { unzip -p "$1" xl/worksheets/sheet1.xml | grep -o '<sheetData>.*</sheetData>'; } ;;
    # Word and web pages carry the system's colours, the screen's resolution and the fonts'
    # widths, which Wine gives otherwise: their texts are compared.
    rtf) same() { LC_ALL=C sed -E 's/\\[a-z]+-?[0-9]* ?//g' "$1"; } ;;
    html) same() { LC_ALL=C sed -E 's/<[^>]*>//g' "$1"; } ;;
    *) same() { cat "$1"; } ;;
    esac
    cmp <(same "$folder/现存量-$format.out") <(same "$folder/linux/现存量-$format.out")
done
test "$(find "$folder" -maxdepth 1 -type f | wc -l)" -eq 7 # nothing else left beside them
echo "all seven formats written, the same as the Linux build's"

echo "-- a PDF written under Wine, read back by pdftotext here: the heading and the rows in order"
(cd "$work/tests" && STOCKQUERY_PASSWORD=pw wine stockquery-export.exe "${demo[@]}" \
    --server "sqlite:$(windows_path "$work/tests/demo-test.sqlite")" --name 轴承 --format pdf \
    --output "$(windows_path "$folder")\\现存量.pdf")
STOCKQUERY_PASSWORD=pw QT_QPA_PLATFORM=offscreen "$repo/build/default/src/stockquery-export" \
    "${demo[@]}" --server "sqlite:$work/tests/demo-test.sqlite" --name 轴承 --format csv-utf8 \
    --output "$work/轴承.csv"
python3 - "$folder/现存量.pdf" "$work/轴承.csv" <<'PY'
import csv, re, subprocess, sys
# As laid out, a row on a line; blanks are where the fonts put them.
text = re.sub(r"\s", "", subprocess.run(["pdftotext", "-layout", sys.argv[1], "-"], check=True,
                                         capture_output=True, text=True).stdout)
assert "现存量查询" in text and "查询条件：存货名称：轴承" in text and "第1页共" in text, text[:200]
with open(sys.argv[2], encoding="utf-8-sig") as rows:
    records = list(csv.reader(rows))[1:]
at = 0
for record in records:  # each row's first six cells, in the grid's order
    at = text.index(re.sub(r"\s", "", "".join(record[:6])), at)
print(f"{len(records)} rows found in order in the PDF written under Wine")
PY
# The window's preview and the command lay the same rows on the same pages.
command_pages=$(pdfinfo "$folder/现存量.pdf" | sed -n 's/^Pages: *//p')
test "$command_pages" = "$preview_pages" ||
    { echo "the command's PDF has $command_pages pages, the preview $preview_pages" >&2 && exit 1; }
echo "the command's PDF: $command_pages pages, as the preview"
rm "$folder/现存量.pdf"

echo "-- the export command alone with the DLLs it needs: no Qt Widgets, and the same file"
alone="$work/command-only"
mkdir -p "$alone/platforms"
cp "$stage/stockquery-export.exe" "$alone/"
cp "$stage/platforms/qwindows.dll" "$alone/platforms/"
"$(dirname "$0")/copy-dlls.sh" "$alone" "$stage"
test -e "$alone/Qt6Gui.dll"
test ! -e "$alone/Qt6Widgets.dll" || { echo "the export command needs Qt6Widgets.dll" >&2 && exit 1; }
(cd "$alone" && STOCKQUERY_PASSWORD=pw wine stockquery-export.exe "${demo[@]}" \
    --server "sqlite:$(windows_path "$work/tests/demo-test.sqlite")" --format rtf \
    --output "$(windows_path "$work/alone.rtf")")
cmp "$work/alone.rtf" "$folder/现存量-rtf.out"
echo "$(find "$alone" -name '*.dll' | wc -l) DLLs beside it, none of them Qt6Widgets.dll"

echo "-- the tools on Chinese paths: the demo database made, the demo connection stored and used"
forget_connection() {
    wine reg delete 'HKLM\SOFTWARE\QARVO\TOLMA\DBLinkInfo' /reg:32 /f >/dev/null 2>&1 || true
}
(cd "$work/tests" && wine make_demo_db.exe "$(windows_path "$folder")\演示 数据库.sqlite")
test -s "$folder/演示 数据库.sqlite"
forget_connection
(cd "$work/tests" && wine demo_setup.exe "$(windows_path "$folder")\新建\演示.sqlite" >/dev/null)
test -s "$folder/新建/演示.sqlite"
# No .partial file stays behind either time; the stored connection names the Chinese path.
test -z "$(find "$folder" -name '*.partial')"
(cd "$work/tests" && wine stockquery-export.exe stock --output "$(windows_path "$work/stored.txt")")
test "$(wc -l <"$work/stored.txt")" -gt 100
echo "make_demo_db.exe and demo_setup.exe wrote to Chinese paths; the stored connection reads it"

echo "-- the command's messages in a Chinese console (code page 936) and in a pipe"
missing='C:\不存在\库.sqlite'
# The command fails (no such database); its message is what is looked at.
in_console=$(cd "$work/tests" && STOCKQUERY_PASSWORD=pw timeout 60 script -qec \
    "wine cmd /c 'chcp 936 >nul & stockquery-export.exe stock --server sqlite:$missing --database d --user u'" \
    /dev/null </dev/null || true)
in_console=$(sed 's/\x1b\[[?0-9;]*[a-zA-Z]//g' <<<"$in_console") # the console's cursor moves
grep -F "$missing" <<<"$in_console" >/dev/null
in_pipe=$(cd "$work/tests" && STOCKQUERY_PASSWORD=pw wine stockquery-export.exe stock \
    --server "sqlite:$missing" --database d --user u 2>&1 >/dev/null || true)
grep -F "$missing" <<<"$in_pipe" >/dev/null
echo "the path shows whole in a code-page-936 console (wide text) and in a pipe (UTF-8)"

echo "-- the program under Xvfb, first start under a Chinese account folder: the demo database"
echo "   made there, queried, photographed"
forget_connection
# The account's local application data under C:\users\张三, as for a user of that name.
local_data='C:\users\张三\AppData\Local'
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer'
for key in "User Shell Folders" "Shell Folders"; do
    wine reg add "$shell_folders\\$key" /v "Local AppData" /d "$local_data" /f >/dev/null
done
rm -rf "$WINEPREFIX/drive_c/users/张三"
# A web page opens in the browser, as on Windows (a new prefix associates no program with
# .html): Wine's winebrowser, which hands it to the host's xdg-open, here one that writes it down.
wine reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null
mkdir -p "$work/browser"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' "$work/browser/opened" >"$work/browser/xdg-open"
chmod +x "$work/browser/xdg-open"
PATH=$work/browser:$PATH wine explorer /desktop=stockquery,1280x800 \
    "$(windows_path "$stage/stockquery.exe")" &
sleep 25
xdotool mousemove 19 42 click 1 # 查询, the toolbar's first button
sleep 15
import -display "$DISPLAY" -window root "$dist/stockquery-wine.png"
xdotool key F1 # the manual at the main window's page
for _ in $(seq 20); do [ -s "$work/browser/opened" ] && break; sleep 0.5; done
wineserver -k # the program and its desktop end here
echo "screenshot: $dist/stockquery-wine.png"
grep -q 'manual.stock\.html' "$work/browser/opened" ||
    { echo "F1 opened: $(cat "$work/browser/opened" 2>/dev/null)" >&2 && exit 1; }
echo "F1 opened the manual's page of the main window: $(cat "$work/browser/opened")"
test -s "$WINEPREFIX/drive_c/users/张三/AppData/Local/stockquery/demo-erp.sqlite"
(cd "$work/tests" && wine stockquery-export.exe stock --output "$(windows_path "$work/first.txt")")
cmp "$work/first.txt" "$work/stored.txt"
echo "the first start made the demo database under 张三 and stored its connection"

echo "-- the installer, silent: the program and its licences in Program Files, the Start-menu"
echo "   entry, the Programs and Features entry, the uninstaller"
# In English (the language Wine's locale gives it), whose Start-menu entry is English too.
LC_ALL=en_US.UTF-8 wine "$(windows_path "$dist/stockquery-setup-win64.exe")" /S
wineserver -w
installed="$WINEPREFIX/drive_c/Program Files/stockquery"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/stockquery"
test -f "$installed/stockquery.exe" -a -f "$installed/platforms/qwindows.dll"
test -f "$menu/Stock query.lnk"
# The user manual that 帮助 and F1 open, whole, in the installation and in the zip.
python3 "$repo/tests/package/check_manual.py" "$installed/manual" "$repo/docs/manual"
unzip -l "$dist/stockquery-win64.zip" stockquery-win64/manual/index.html >/dev/null
# The program's licence and the libraries', in the installation and in the zip; every DLL
# shipped is named in the libraries' list.
grep -q "GNU General Public License as published by the Free Software Foundation, either version 3" \
    "$installed/LICENSE.txt"
unzip -l "$dist/stockquery-win64.zip" stockquery-win64/LICENSE.txt >/dev/null
for licence in README LGPL-3.0 GPL-3.0 Qt-third-party ICU SQLite libxlsxwriter zlib GCC-runtime \
    winpthreads; do
    test -s "$installed/licences/$licence.txt"
    unzip -l "$dist/stockquery-win64.zip" "stockquery-win64/licences/$licence.txt" >/dev/null
done
for dll in "$installed"/*.dll; do
    grep -qF "$(basename "$dll")" "$installed/licences/README.txt" ||
        { echo "licences\\README.txt does not name $(basename "$dll")" >&2 && exit 1; }
done
# The corresponding source that the licences name: the project with the Qt modules' releases.
tar -tJf "$dist/stockquery-$version-source.tar.xz" "stockquery-$version/LICENSE" \
    "stockquery-$version/third_party/qt/qtcharts-6.4.2.tar.xz" >/dev/null
grep -q "stockquery-$version-source.tar.xz" "$installed/LICENSE.txt"
# Nothing reaches the host's own menus.
test ! -e "${XDG_DATA_HOME:-$HOME/.local/share}/applications/wine/Programs/stockquery"
entry=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\stockquery' /reg:64)
size_kb=$(du -sk "$stage" | cut -f1)
for value in "DisplayVersion REG_SZ $version" 'Publisher REG_SZ stockquery' \
    'DisplayIcon REG_SZ C:\Program Files\stockquery\stockquery.exe,0' \
    "EstimatedSize REG_DWORD 0x$(printf '%x' "$size_kb")"; do
    grep -F "$value" <<<"$(tr -s ' \t' '  ' <<<"$entry" | sed 's/^ //')" >/dev/null ||
        { echo "Programs and Features: no $value" >&2 && exit 1; }
done
# The uninstaller runs on as a copy of itself in the temporary folder: wait for its work.
gone() {
    for _ in $(seq 60); do
        [ ! -e "$1" ] && return 0
        sleep 0.5
    done
    echo "still there: $1" >&2
    return 1
}
connection_stored() { wine reg query 'HKLM\SOFTWARE\QARVO\TOLMA\DBLinkInfo' /reg:32 >/dev/null 2>&1; }
demo="$WINEPREFIX/drive_c/users/张三/AppData/Local/stockquery/demo-erp.sqlite"
connection_stored && test -f "$demo" # from the first start above
wine "$(windows_path "$installed/uninstall.exe")" /S
wineserver -w
gone "$installed" && gone "$menu"
# Kept unless asked for: the stored connection and the demo database.
connection_stored && test -f "$demo"
# (set -e does not end the script on a negated command: each says how it fails)
! wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\stockquery' /reg:64 \
    >/dev/null 2>&1 || exit 1
echo "installed with its licences and entries, and uninstalled; the connection and demo stay"

echo "-- installed into a folder of the user's: uninstalling leaves the user's files; asked to,"
echo "   it removes the stored connection and the demo database"
tools="$WINEPREFIX/drive_c/tools"
rm -rf "$tools" && mkdir -p "$tools/notes"
echo mine >"$tools/notes.txt" && echo mine >"$tools/notes/plan.txt"
wine "$(windows_path "$dist/stockquery-setup-win64.exe")" /S '/D=C:\tools'
wineserver -w
test -f "$tools/stockquery.exe" -a -f "$tools/platforms/qwindows.dll"
wine 'C:\tools\uninstall.exe' /S /REMOVEDATA
wineserver -w
gone "$tools/uninstall.exe" && gone "$(dirname "$demo")"
! connection_stored || exit 1
test "$(cd "$tools" && find . | sort | tr '\n' ' ')" = ". ./notes ./notes.txt ./notes/plan.txt "
echo "the user's files stay, the program's are gone, and so are the connection and the demo"

echo "-- signed with a throw-away certificate: every program, the installer and its uninstaller"
signed="$work/signed"
cp -r "$stage" "$signed"
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=stockquery test signing" \
    -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
export STOCKQUERY_SIGNING_CERT=$work/cert.pem STOCKQUERY_SIGNING_KEY=$work/key.pem
"$repo/scripts/windows/sign.sh" "$signed"/*.exe
"$repo/scripts/windows/make-installer.sh" "$signed" "$work/setup-signed.exe" >/dev/null
unset STOCKQUERY_SIGNING_CERT STOCKQUERY_SIGNING_KEY
wine "$(windows_path "$work/setup-signed.exe")" /S '/D=C:\signed'
wineserver -w
signed_install="$WINEPREFIX/drive_c/signed"
for file in "$work/setup-signed.exe" "$signed_install"/*.exe; do
    osslsigncode verify -CAfile "$work/cert.pem" -in "$file" >/dev/null ||
        { echo "not signed: $file" >&2 && exit 1; }
done
! osslsigncode verify -CAfile "$work/cert.pem" -in "$stage/stockquery.exe" >/dev/null 2>&1 || exit 1
wine 'C:\signed\stockquery-export.exe' --help | grep '^usage' >/dev/null
wine 'C:\signed\uninstall.exe' /S
wineserver -w
gone "$signed_install"
echo "$(find "$signed" -maxdepth 1 -name '*.exe' | wc -l) programs, the installer and its uninstaller signed and verified; the signed ones install and run"

echo "-- the program is a windowed program, the export command a console one"
subsystem() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^Subsystem.*(\(.*\))/\1/p'; }
test "$(subsystem "$stage/stockquery.exe")" = "Windows GUI"
test "$(subsystem "$stage/stockquery-export.exe")" = "Windows CUI"
echo "stockquery.exe: Windows GUI; stockquery-export.exe: Windows CUI"

echo "-- every program carries the icon, its version information and the manifest"
for program in "$stage"/*.exe; do
    resources=$(x86_64-w64-mingw32-windres -i "$program" -O rc)
    for expected in 'RT_GROUP_ICON' "VALUE \"ProductVersion\", \"$version\"" \
        'VALUE "ProductName", "stockquery"' 'VALUE "CompanyName", "stockquery"' \
        "VALUE \"OriginalFilename\", \"$(basename "$program")\"" \
        'Microsoft.Windows.Common-Controls"" version=""6.0.0.0' '>PerMonitorV2</dpiAwareness>' \
        '>true</longPathAware>' '>UTF-8</activeCodePage>'; do
        grep -F "$expected" <<<"$resources" >/dev/null ||
            { echo "$(basename "$program"): no $expected" >&2 && exit 1; }
    done
    test "$(grep -c 'RT_MANIFEST' <<<"$resources")" -eq 1
done
echo "$(find "$stage" -maxdepth 1 -name '*.exe' | wc -l) programs: icon, version $version, manifest"
