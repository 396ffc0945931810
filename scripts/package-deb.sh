#!/usr/bin/env bash
# The Debian 12 package of a build, dist/stockquery_<version>_amd64.deb: the two programs in
# /usr/bin, the desktop entry with its icons, the AppStream metadata, the manual pages, the
# user manual with its pictures, and the copyright in Debian's machine-readable form; its
# dependencies are worked out by dpkg-shlibdeps from the programs' libraries, plus what they
# load at run time.
#   package-deb.sh [BUILD_DIR] [OUT_DIR]   (build/default, dist)
set -euo pipefail
repo=$(realpath "$(dirname "$0")/..")
build=$(realpath "${1:-$repo/build/default}")
out=$(realpath -m "${2:-$repo/dist}")
version=$("$repo/scripts/windows/project-version.sh")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
mkdir -p "$root" "$out"
chmod 0755 "$root"

cmake --build "$build" --target stockquery stockquery-export manual >/dev/null
DESTDIR=$root cmake --install "$build" --prefix /usr --strip >/dev/null
strip --remove-section=.comment --remove-section=.note "$root"/usr/bin/*
gzip -9n "$root"/usr/share/man/man1/*.1

doc=$root/usr/share/doc/stockquery
mkdir -p "$doc"
cat >"$doc/copyright" <<TEXT
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: stockquery
Source: stockquery-$version-source.tar.xz, published beside this package

Files: *
Copyright: 2026 stockquery developers
License: GPL-3+
 This program is free software: you can redistribute it and/or modify it under the terms of
 the GNU General Public License as published by the Free Software Foundation, either version
 3 of the License, or (at your option) any later version.
 .
 This program is distributed in the hope that it will be useful, but WITHOUT ANY WARRANTY;
 without even the implied warranty of MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.
 See the GNU General Public License for more details.
 .
 On Debian systems, the complete text of the GNU General Public License version 3 can be
 found in "/usr/share/common-licenses/GPL-3".
TEXT
maintainer="stockquery developers <stockquery@users.noreply.github.com>"
# A native package's changelog, dated by the last commit so that the package is reproducible.
date=$(git -C "$repo" log -1 --format=%cD 2>/dev/null || date -R)
printf 'stockquery (%s) bookworm; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n' \
    "$version" "$version" "$maintainer" "$date" | gzip -9n >"$doc/changelog.gz"
find "$doc" -type f -exec chmod 0644 {} +

# The libraries the programs link; the Qt platform plugin, a Chinese font and the SQL Server
# driver they load at run time.
mkdir -p "$work/debian"
printf 'Source: stockquery\n\nPackage: stockquery\nArchitecture: amd64\n' >"$work/debian/control"
shlibs=$(cd "$work" && dpkg-shlibdeps -O "$root/usr/bin/stockquery" "$root/usr/bin/stockquery-export" \
    2>/dev/null | sed -n 's/^shlibs:Depends=//p')
mkdir -p "$root/DEBIAN"
cat >"$root/DEBIAN/control" <<TEXT
Package: stockquery
Version: $version
Architecture: amd64
Maintainer: $maintainer
Installed-Size: $(du -sk --exclude=DEBIAN "$root" | cut -f1)
Depends: $shlibs, qt6-qpa-plugins, fonts-wqy-zenhei | fonts-noto-cjk
Recommends: tdsodbc, qt6-translations-l10n
Section: misc
Priority: optional
Description: current stock, receipts and issues of an ERP's warehouses
 stockquery reads an ERP's SQL Server database, read only, and shows how much
 of each item lies in which warehouse, batch by batch, which receipt and issue
 lines were booked between two dates, the month-end summary and the stock card
 of an item, in Simplified Chinese.
 .
 Every grid sorts, finds, prints, draws charts and exports to Excel, RTF, HTML,
 text, CSV and PDF, also from the stockquery-export command for scheduled jobs.
 A first start makes a demo ERP database and connects to it.
TEXT
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
deb=$out/stockquery_${version}_amd64.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
