#!/usr/bin/env bash
# Installs what is missing, builds, prepares the demo ERP database and starts stockquery.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target stockquery stockquery-export demo_setup

# The demo database is made once; its connection is stored only when none is stored yet.
data_dir="${XDG_DATA_HOME:-$HOME/.local/share}/stockquery"
build/default/tools/demo_setup "$data_dir/demo-erp.sqlite"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    cat <<'MESSAGE'
stockquery needs a display, and this session has none (DISPLAY and WAYLAND_DISPLAY are unset).
To run it on Qt's VNC platform instead, start it as

    QT_QPA_PLATFORM=vnc:size=1280x800 bash scripts/run.sh

and point a VNC viewer at port 5900 of this machine.
MESSAGE
    exit 1
fi
exec build/default/src/stockquery
