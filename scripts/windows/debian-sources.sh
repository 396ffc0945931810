#!/usr/bin/env bash
# Fetches Debian source packages into a folder, once each. apt-get source needs a deb-src
# entry: one mirroring the system's Debian entry is added when there is none.
#   debian-sources.sh FOLDER PACKAGE...
set -euo pipefail
folder=$1
shift
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        # The stanzas of debian.sources with deb-src for deb.
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
            "${sudo[@]}" tee /etc/apt/sources.list.d/stockquery-deb-src.sources >/dev/null
    else
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
            "${sudo[@]}" tee /etc/apt/sources.list.d/stockquery-deb-src.list >/dev/null
    fi
    "$(dirname "$0")/../apt-update.sh"
fi
cd "$folder"
for package in "$@"; do
    if [ ! -f "$package.fetched" ]; then
        apt-get source -qq "$package" >/dev/null
        touch "$package.fetched"
    fi
done
