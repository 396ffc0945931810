#!/usr/bin/env bash
# Qt SVG and Qt Charts 6.4.2 for 64-bit Windows, from the upstream releases kept in
# third_party/qt (their sums checked first), built against the cross-built qtbase of the same
# release and installed into its prefix, so that the program's build finds them as it finds Qt.
#   build-qt-modules.sh ARCHIVE_DIR BUILD_DIR QT_PREFIX
set -euo pipefail
archives=$1 build=$2 prefix=$3
(cd "$archives" && sha256sum --quiet --check SHA256SUMS)
mkdir -p "$build"
for module in qtsvg qtcharts; do
    rm -rf "${build:?}/$module-everywhere-src-6.4.2" "$build/$module"
    tar -xJf "$archives/$module-6.4.2.tar.xz" -C "$build"
    "$prefix/bin/qt-cmake-private" -G Ninja -S "$build/$module-everywhere-src-6.4.2" \
        -B "$build/$module" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DSTOCKQUERY_WINDOWS_PREFIXES="$prefix" -DCMAKE_BUILD_TYPE=Release \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF >/dev/null
    cmake --build "$build/$module" --parallel "$(nproc)" >/dev/null
    cmake --install "$build/$module" >/dev/null
done
