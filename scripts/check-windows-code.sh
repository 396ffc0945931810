#!/usr/bin/env bash
# Compiles the Windows-only code of the data layer (registry store, ODBC wide calls) with the
# MinGW-w64 cross compiler, syntax only: Qt, SQLite and ICU for Windows are not on this machine.
set -euo pipefail
cd "$(dirname "$0")/.."

compiler=x86_64-w64-mingw32-g++-posix
if ! command -v "$compiler" >/dev/null; then
    sudo_if_needed=""
    [ "$(id -u)" -eq 0 ] || sudo_if_needed=sudo
    $sudo_if_needed apt-get install -y g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
fi
for file in src/settings/RegistrySettingsStore.cpp src/db/Connection.cpp \
    src/settings/DBLinkInfo.cpp src/result/LargeBlockAllocator.cpp src/db/odbc/*.cpp; do
    echo "$file"
    "$compiler" -std=c++20 -fsyntax-only -Wall -Wextra -Werror -I src "$file"
done
