#!/usr/bin/env bash
# The Debian package of a build, made into a scratch folder and checked as Debian checks
# packages, without installing it: lintian without errors or warnings, the desktop entry and
# the AppStream metadata valid, the manual pages rendered without warnings, the contents and
# the control fields; the user manual whole, its links resolving; the packaged command, run
# from the extracted tree, lists the demo's warehouses.
#   check-deb.sh BUILD_DIR DEMO_DATABASE
set -euo pipefail
build=$1 demo=$2
repo=$(realpath "$(dirname "$0")/../..")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
deb=$("$repo/scripts/package-deb.sh" "$build" "$work")
version=$("$repo/scripts/windows/project-version.sh")
test "$(basename "$deb")" = "stockquery_${version}_amd64.deb"

said=$(lintian --fail-on error,warning "$deb" 2>&1) || { echo "$said" >&2 && exit 1; }
tree=$work/tree
dpkg-deb -x "$deb" "$tree"

# What it holds, and nothing else (the user manual is checked against its sources below).
(cd "$tree" && find . -type f -not -path './usr/share/doc/stockquery/manual/*' | sort) >"$work/files"
diff -u - "$work/files" <<'FILES'
./usr/bin/stockquery
./usr/bin/stockquery-export
./usr/share/applications/org.stockquery.stockquery.desktop
./usr/share/doc/stockquery/changelog.gz
./usr/share/doc/stockquery/copyright
./usr/share/icons/hicolor/16x16/apps/stockquery.png
./usr/share/icons/hicolor/256x256/apps/stockquery.png
./usr/share/icons/hicolor/32x32/apps/stockquery.png
./usr/share/icons/hicolor/48x48/apps/stockquery.png
./usr/share/man/man1/stockquery-export.1.gz
./usr/share/man/man1/stockquery.1.gz
./usr/share/metainfo/org.stockquery.stockquery.metainfo.xml
FILES
for size in 16 32 48 256; do # a PNG's size, from its header
    python3 -c 'import struct, sys; head = open(sys.argv[1], "rb").read(24)
assert head[:8] == b"\x89PNG\r\n\x1a\n" and struct.unpack(">II", head[16:24]) == (int(sys.argv[2]),) * 2' \
        "$tree/usr/share/icons/hicolor/${size}x$size/apps/stockquery.png" "$size"
done

python3 "$repo/tests/package/check_manual.py" "$tree/usr/share/doc/stockquery/manual" "$repo/docs/manual"
desktop-file-validate "$tree/usr/share/applications/org.stockquery.stockquery.desktop"
grep -qx 'Name\[zh_CN\]=库存查询' "$tree/usr/share/applications/org.stockquery.stockquery.desktop"
appstreamcli validate --no-net --explain "$tree/usr/share/metainfo/org.stockquery.stockquery.metainfo.xml" \
    >/dev/null
head -1 "$tree/usr/share/doc/stockquery/copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/'
for page in stockquery stockquery-export; do
    warnings=$(LC_ALL=C.UTF-8 man --warnings -l "$tree/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    test -z "$warnings" || { echo "$page.1: $warnings" >&2 && exit 1; }
done
LC_ALL=C.UTF-8 MANWIDTH=100 man -l "$tree/usr/share/man/man1/stockquery-export.1.gz" >"$work/man.txt"
grep -q '^EXIT STATUS' "$work/man.txt"
grep -q 'stockquery-export journal --from "$(date -d yesterday +%F)"' "$work/man.txt"

# The dependencies dpkg-shlibdeps found, and those loaded at run time.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6charts6 libqt6svg6 libqt6widgets6 libodbc2 libsqlite3-0 libxlsxwriter4 libicu72 \
    qt6-qpa-plugins fonts-wqy-zenhei; do
    grep -q "\b$needed\b" <<<"$depends" || { echo "Depends lacks $needed: $depends" >&2 && exit 1; }
done

# The packaged command works on its own.
STOCKQUERY_PASSWORD=x "$tree/usr/bin/stockquery-export" --list-warehouses \
    --server "sqlite:$(realpath "$demo")" --database d --user u >"$work/warehouses"
grep -q '半成品库' "$work/warehouses"
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes, lintian clean, its metadata valid"
