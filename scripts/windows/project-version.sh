#!/usr/bin/env bash
# The project's version as CMakeLists.txt gives it (X.Y).
#   project-version.sh
set -euo pipefail
sed -n 's/^project(stockquery VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt"
