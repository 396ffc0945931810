#!/usr/bin/env bash
# libxlsxwriter (with its own minizip, on Debian's static zlib for MinGW) and GoogleTest for
# 64-bit Windows, static.
#   build-libraries.sh SOURCES_DIR BUILD_DIR INSTALL_DIR TOOLCHAIN_FILE
set -euo pipefail
sources=$1 build=$2 install_dir=$3 toolchain=$4
source_of() { find "$sources" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -n1; }
cmake_build() { # NAME SOURCE [OPTION...]
    local name=$1 source=$2
    shift 2
    cmake -G Ninja -S "$source" -B "$build/$name" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DSTOCKQUERY_WINDOWS_PREFIXES="$install_dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$install_dir" -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
    cmake --build "$build/$name" --parallel "$(nproc)" >/dev/null
    cmake --install "$build/$name" >/dev/null
}

cmake_build libxlsxwriter "$(source_of libxlsxwriter)" -DUSE_SYSTEM_MINIZIP=OFF \
    -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a -DBUILD_TESTS=OFF \
    -DBUILD_EXAMPLES=OFF
cmake_build googletest "$(source_of googletest)" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
