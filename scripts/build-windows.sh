#!/usr/bin/env bash
# From a fresh Debian 12 machine to dist/stockquery-win64.zip and
# dist/stockquery-setup-win64.exe: Qt (with Qt SVG and Qt Charts), SQLite, ICU, libxlsxwriter
# and GoogleTest cross-built once for 64-bit Windows into a cache outside the tree (zlib is
# Debian's own; over an hour on two cores, most of it qtbase), then the program, its tools and
# the data-side tests, the manual's pictures; the tests, the ODBC path, the main window and the
# installer run under Wine; last, the source archive is unpacked where there is no git and
# built to the zip.
#   build-windows.sh [--zip-only]
# --zip-only stops once the zip is made: no source archive, installer or tests.
set -euo pipefail
zip_only=no
[ "${1:-}" = --zip-only ] && zip_only=yes
repo=$(realpath "$(dirname "$0")/..")
cache=${XDG_CACHE_HOME:-$HOME/.cache}/stockquery-windows
windows=$repo/scripts/windows
toolchain=$windows/toolchain.cmake
prefix=$cache/prefix # everything cross-built, Qt included
mkdir -p "$cache/src" "$cache/build" "$prefix"
started=$SECONDS
step() { printf '== %s (%d s)\n' "$*" $((SECONDS - started)); }

step "packages"
"$repo/scripts/install-deps.sh"
"$repo/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
    mingw-w64-tools libz-mingw-w64-dev wine wine64 nsis xvfb fonts-droid-fallback fonts-dejavu-core \
    ninja-build dpkg-dev tcl zip unzip imagemagick xdotool osslsigncode openssl
"$windows/debian-sources.sh" "$cache/src" qt6-base sqlite3 icu libxlsxwriter googletest
source_of() { find "$cache/src" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -n1; }

# Each library is built once; its stamp says it is whole.
built() { [ -f "$cache/build/$1.done" ]; }
done_with() { touch "$cache/build/$1.done"; }
# Built again when its script (its options) changes.
qtbase=qtbase-$(sha256sum "$windows/build-qtbase.sh" | cut -c1-12)
if ! built "$qtbase"; then
    step "qtbase (43 minutes on two busy cores)"
    "$windows/build-qtbase.sh" "$(source_of qt6-base)" "$cache/build/qtbase" "$prefix" "$toolchain"
    done_with "$qtbase"
fi
# Qt SVG and Qt Charts on that qtbase, from the releases kept in third_party/qt: built again
# with qtbase, or when their script or the releases change.
qt_modules=qt-modules-$(cat "$windows/build-qt-modules.sh" "$repo/third_party/qt/SHA256SUMS" |
    sha256sum | cut -c1-12)-$qtbase
if ! built "$qt_modules"; then
    step "Qt SVG and Qt Charts (4 minutes)"
    "$windows/build-qt-modules.sh" "$repo/third_party/qt" "$cache/build/qt-modules" "$prefix"
    done_with "$qt_modules"
fi
if ! built sqlite; then
    step "SQLite"
    "$windows/build-sqlite.sh" "$(source_of sqlite3)" "$cache/build/sqlite" "$prefix"
    done_with sqlite
fi
if ! built icu; then
    step "ICU (a host build, then the cross build)"
    "$windows/build-icu.sh" "$(source_of icu)" "$cache/build/icu" "$prefix"
    done_with icu
fi
# ICU's data cut down to what the program uses; made again when the list changes.
icu_data=icu-data-$(sha256sum "$windows/icu-data-keep.txt" | cut -c1-12)
if ! built "$icu_data"; then
    step "ICU's data, filtered"
    "$windows/filter-icu-data.sh" "$(source_of icu)" "$cache/build/icu" "$windows/icu-data-keep.txt"
    done_with "$icu_data"
fi
if ! built libraries; then
    step "libxlsxwriter, GoogleTest"
    "$windows/build-libraries.sh" "$cache/src" "$cache/build" "$prefix" "$toolchain"
    done_with libraries
fi

step "the program, its tools and the data-side tests"
build=$repo/build/windows
# A build made against another cache starts afresh.
if [ -f "$build/CMakeCache.txt" ] && ! grep -q "^CMAKE_PREFIX_PATH:.*=$prefix$" "$build/CMakeCache.txt"; then
    rm -rf "$build"
fi
cmake -G Ninja -S "$repo" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DSTOCKQUERY_WINDOWS_PREFIXES="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTOCKQUERY_BENCH=OFF -DSTOCKQUERY_TESTS=ON \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >/dev/null
cmake --build "$build" --parallel "$(nproc)"

step "packaging"
dist=$repo/dist
version=$("$windows/project-version.sh")
stage=$dist/stockquery-win64
rm -rf "$stage" "$dist/stockquery-win64.zip" "$dist/stockquery-setup-win64.exe" \
    "$dist"/stockquery-*-source.tar.xz
mkdir -p "$stage/platforms" "$stage/styles"
cp "$build/src/stockquery.exe" "$build/src/stockquery-export.exe" \
    "$build/tools/demo_setup.exe" "$build/tools/make_demo_db.exe" "$stage/"
cp "$prefix/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$prefix/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# Qt's own texts in Chinese (the same Qt release's catalogue, from Debian's qt6-translations-l10n).
mkdir -p "$stage/translations"
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$stage/translations/"
"$windows/copy-dlls.sh" "$stage" "$prefix/bin" "$prefix/lib" \
    "$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")" \
    /usr/x86_64-w64-mingw32/lib
find "$stage" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded
"$windows/licences.sh" "$cache/src" "$stage/licences" "$version"
"$windows/program-licence.sh" "$version" >"$stage/LICENSE.txt"
"$windows/sign.sh" "$stage"/*.exe # when a certificate is given
step "the user manual, its pictures rendered under Wine"
"$windows/manual-pictures.sh" "$stage" "$build" "$cache/wine-manual"
(cd "$dist" && zip -qr stockquery-win64.zip stockquery-win64)
if [ "$zip_only" = yes ]; then
    ls -l "$dist/stockquery-win64.zip"
    step "done"
    exit 0
fi
# The corresponding source of what was built: the files the build used, the Qt Charts and
# Qt SVG releases included.
"$windows/source-archive.sh" "$repo" "$version" "$dist/stockquery-$version-source.tar.xz"
"$windows/make-installer.sh" "$stage" "$dist/stockquery-setup-win64.exe"
ls -l "$dist/stockquery-win64.zip" "$dist/stockquery-setup-win64.exe" \
    "$dist/stockquery-$version-source.tar.xz"

step "under Wine"
"$windows/wine-tests.sh" "$stage" "$build" "$dist" "$cache/wine" "$prefix"
step "the source archive, unpacked where there is no git, builds the zip"
"$windows/source-archive-builds.sh" "$dist/stockquery-$version-source.tar.xz" "$version"
step "done"
