#!/usr/bin/env bash
# Installs the Debian 12 packages that stockquery builds, runs and tests with, when missing;
# with arguments, the named packages instead.
#   install-deps.sh [PACKAGE...]
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n
    qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
    libsqlite3-dev sqlite3 libicu-dev libxlsxwriter-dev
    unixodbc unixodbc-dev tdsodbc libsqliteodbc freetds-bin libgnutls28-dev libssl-dev openssl
    libgtest-dev googletest python3-pyodbc python3-openpyxl poppler-utils
    fonts-wqy-zenhei
    clang libclang-rt-14-dev unzip
    dpkg-dev lintian desktop-file-utils appstream man-db
    xvfb openbox xdotool x11-utils
)
[ $# -gt 0 ] && packages=("$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "installing: ${missing[*]}"
"$(dirname "$0")/apt-update.sh"
# Waits, as the update does, for another package manager to finish.
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    -o DPkg::Lock::Timeout=600 "${missing[@]}"
