#!/usr/bin/env bash
# A minimal qtbase for 64-bit Windows: Core, Gui, Widgets, PrintSupport, Test and the windows
# and offscreen platform plugins, shared, with its own zlib, png, harfbuzz, freetype, pcre2 and
# double-conversion; optimised for size (the package's DLLs are most of its download).
#   build-qtbase.sh SOURCE_DIR BUILD_DIR INSTALL_DIR TOOLCHAIN_FILE
set -euo pipefail
source_dir=$1 build_dir=$2 install_dir=$3 toolchain=$4

off=()
for feature in vulkan dbus network sql xml concurrent icu jpeg zstd tabletevent \
    textmarkdownreader textmarkdownwriter textodfwriter pkg_config system_zlib system_png system_harfbuzz system_freetype system_pcre2 \
    system_doubleconversion; do
    off+=("-DFEATURE_$feature=OFF")
done
# INPUT_opengl=no, not FEATURE_opengl=OFF: the latter leaves dynamic GL on, and the platform
# plugin then does not build. Debian's tarball lacks wintab, hence no tablet events.
cmake -G Ninja -S "$source_dir" -B "$build_dir" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$install_dir" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
    -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DINPUT_opengl=no -DFEATURE_testlib=ON -DFEATURE_printsupport=ON -DFEATURE_optimize_size=ON \
    "${off[@]}"
cmake --build "$build_dir" --parallel "$(nproc)"
cmake --install "$build_dir"
