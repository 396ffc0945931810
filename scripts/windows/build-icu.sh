#!/usr/bin/env bash
# ICU for 64-bit Windows as DLLs; a cross build needs a host build of the same source first.
#   build-icu.sh SOURCE_DIR BUILD_DIR INSTALL_DIR
set -euo pipefail
source_dir=$(realpath "$1")/source build_dir=$2 install_dir=$3

options=(--disable-tests --disable-samples --disable-extras --disable-icuio --disable-layoutex)
mkdir -p "$build_dir/host" "$build_dir/windows"
(cd "$build_dir/host" && "$source_dir/configure" "${options[@]}" >/dev/null &&
    make -j"$(nproc)" >/dev/null)
cd "$build_dir/windows"
"$source_dir/configure" "${options[@]}" --disable-tools \
    --host=x86_64-w64-mingw32 --with-cross-build="$(realpath "$build_dir/host")" \
    --prefix="$install_dir" CC=x86_64-w64-mingw32-gcc-posix CXX=x86_64-w64-mingw32-g++-posix \
    >/dev/null
make -j"$(nproc)" >/dev/null
make install >/dev/null
