#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: once as released, once under
# AddressSanitizer and UndefinedBehaviorSanitizer; then every fuzz target for a minute.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
for preset in default sanitize; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)"
    ctest --preset "$preset"
done
scripts/fuzz.sh 60
