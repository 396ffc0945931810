#!/usr/bin/env bash
# The Windows build under Wine: the data-side tests; the export command's ODBC path through
# Wine's odbc32 (which hands the calls to the host's unixODBC, where a driver named
# "SQL Server" is FreeTDS) against the TDS stand-in, beside the Linux build's file of the same
# query; and the program itself under Xvfb, querying the demo database, with a screenshot.
#   wine-tests.sh STAGE_DIR WINDOWS_BUILD_DIR DIST_DIR WINE_PREFIX
set -euo pipefail
stage=$1 build=$2 dist=$3
repo=$(realpath "$(dirname "$0")/../..")
export WINEPREFIX=$4 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
display=:$((70 + RANDOM % 20))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
xvfb=$!
export DISPLAY=$display
stand_in=""
finish() {
    [ -n "$stand_in" ] && kill "$stand_in" 2>/dev/null
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT
windows_path() { winepath -w "$1" 2>/dev/null; }

# A prefix of our own; 宋体/SimSun drawn with Droid Sans Fallback, which Wine draws whole at
# small sizes (WenQuanYi loses strokes there).
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1
    wineserver -w
fi
{
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"SimSun"="Droid Sans Fallback"\r\n"宋体"="Droid Sans Fallback"\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
    printf '"Tahoma"=hex(7):%s\r\n' "$(printf 'DroidSansFallbackFull.ttf,Droid Sans Fallback\0\0' |
        iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -s ' \n' ',,' | sed 's/^,//; s/,$//')"
} | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$work/fonts.reg"
wine regedit /S "$(windows_path "$work/fonts.reg")"

echo "-- data-side tests"
mkdir -p "$work/tests"
cp -r "$stage"/. "$work/tests/"
cp "$build/tests/windows_data_tests.exe" "$work/tests/"
(cd "$work/tests" && wine make_demo_db.exe demo-test.sqlite >/dev/null &&
    wine windows_data_tests.exe --gtest_brief=1 | grep -v '^Running main')
echo "$(cd "$work/tests" && wine windows_data_tests.exe --gtest_list_tests | grep -c '^  ') tests passed"

echo "-- the ODBC path: stockquery-export.exe through odbc32 and FreeTDS to the TDS stand-in"
cmake --preset default -S "$repo" >/dev/null
cmake --build "$repo/build/default" --parallel "$(nproc)" --target tds_stand_in stockquery-export
cat >"$work/odbcinst.ini" <<INI
[SQL Server]
Driver=/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so
INI
coproc STAND_IN { "$repo/build/default/tests/tds_stand_in" "$work/tests/demo-test.sqlite"; }
stand_in=$STAND_IN_PID
read -r address <&"${STAND_IN[0]}"
arguments=(stock --server "$address" --database erp --user sa --format txt)
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

echo "-- the program under Xvfb, first start: the demo database made, queried, photographed"
wine reg delete 'HKLM\SOFTWARE\QARVO\TOLMA\DBLinkInfo' /reg:32 /f >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/stockquery"
wine explorer /desktop=stockquery,1280x800 "$(windows_path "$stage/stockquery.exe")" &
sleep 25
xdotool mousemove 19 42 click 1 # 查询, the toolbar's first button
sleep 15
import -display "$display" -window root "$dist/stockquery-wine.png"
wineserver -k # the program and its desktop end here
echo "screenshot: $dist/stockquery-wine.png"

echo "-- the installer, silent: the program in Program Files, the Start-menu entry, the uninstaller"
wine "$(windows_path "$dist/stockquery-setup-win64.exe")" /S
wineserver -w
installed="$WINEPREFIX/drive_c/Program Files/stockquery"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/stockquery"
test -f "$installed/stockquery.exe" -a -f "$installed/platforms/qwindows.dll"
test -f "$menu/现存量查询.lnk"
# The uninstaller runs on as a copy of itself in the temporary folder: wait for its work.
gone() {
    for _ in $(seq 60); do
        [ ! -e "$1" ] && return 0
        sleep 0.5
    done
    echo "still there: $1" >&2
    return 1
}
wine "$(windows_path "$installed/uninstall.exe")" /S
wineserver -w
gone "$installed" && gone "$menu"
echo "installed, with its Start-menu entry, and uninstalled"

echo "-- installed into a folder of the user's: uninstalling leaves the user's files"
tools="$WINEPREFIX/drive_c/tools"
rm -rf "$tools" && mkdir -p "$tools/notes"
echo mine >"$tools/notes.txt" && echo mine >"$tools/notes/plan.txt"
wine "$(windows_path "$dist/stockquery-setup-win64.exe")" /S '/D=C:\tools'
wineserver -w
test -f "$tools/stockquery.exe" -a -f "$tools/platforms/qwindows.dll"
wine 'C:\tools\uninstall.exe' /S
wineserver -w
gone "$tools/uninstall.exe"
test "$(cd "$tools" && find . | sort | tr '\n' ' ')" = ". ./notes ./notes.txt ./notes/plan.txt "
echo "the user's files stay, the program's are gone"

echo "-- the program is a windowed program, the export command a console one"
subsystem() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^Subsystem.*(\(.*\))/\1/p'; }
test "$(subsystem "$stage/stockquery.exe")" = "Windows GUI"
test "$(subsystem "$stage/stockquery-export.exe")" = "Windows CUI"
echo "stockquery.exe: Windows GUI; stockquery-export.exe: Windows CUI"
