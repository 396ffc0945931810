#!/usr/bin/env bash
# SQLite for 64-bit Windows: the amalgamation made from Debian's source, a static library.
#   build-sqlite.sh SOURCE_DIR BUILD_DIR INSTALL_DIR
set -euo pipefail
source_dir=$1 build_dir=$2 install_dir=$3

mkdir -p "$build_dir" "$install_dir/include" "$install_dir/lib"
cd "$build_dir"
[ -f sqlite3.c ] || { "$source_dir/configure" --disable-tcl >/dev/null && make sqlite3.c >/dev/null; }
x86_64-w64-mingw32-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_COLUMN_METADATA \
    -c sqlite3.c -o sqlite3.o
x86_64-w64-mingw32-ar rcs "$install_dir/lib/libsqlite3.a" sqlite3.o
cp sqlite3.h sqlite3ext.h "$install_dir/include/"
