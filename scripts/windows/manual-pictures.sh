#!/usr/bin/env bash
# The user manual of the Windows build: its pages as the build filled them in, and its pictures
# rendered from the demo by the Windows build itself under Wine, on the windows platform, so
# that they show the windows as Windows users see them; in a Wine prefix of their own, with
# nothing stored.
#   manual-pictures.sh STAGE_DIR WINDOWS_BUILD_DIR WINE_PREFIX
set -euo pipefail
stage=$1 build=$2
repo=$(realpath "$(dirname "$0")/../..")
# shellcheck source=wine-session.sh
. "$(dirname "$0")/wine-session.sh"
work=$(mktemp -d)
xvfb=""
finish() {
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT
rm -rf "$3"
wine_session "$3" "$work"
rm -rf "$stage/manual"
cp -r "$build/manual" "$stage/manual"
cp -r "$stage"/. "$work/"
cp "$build/tools/render_window.exe" "$work/"
(cd "$work" && wine make_demo_db.exe demo-erp.sqlite >/dev/null)
(cd "$work" && bash "$repo/docs/manual/render-screenshots.sh" "$stage/manual/images" \
    "$work/demo-erp.sqlite" windows wine render_window.exe)
python3 "$repo/tests/package/check_manual.py" "$stage/manual" "$repo/docs/manual"
