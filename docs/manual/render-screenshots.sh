#!/usr/bin/env bash
# Renders the manual's pictures listed in screenshots.txt from a demo database, each in a
# settings store and a home of its own so that no layout or folder of the person building shows.
#   render-screenshots.sh OUT_DIR DEMO_FILE PLATFORM RENDER_WINDOW…
# RENDER_WINDOW… starts the renderer (under Wine: wine render_window.exe), on Qt's PLATFORM.
set -euo pipefail
out=$1 demo=$2 platform=$3
shift 3
here=$(dirname "$0")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$out"
while read -r name mode rest; do
    [[ -z $name || $name == \#* ]] && continue
    eval "arguments=($rest)" # the list's own quoting: "" is an empty item name
    mkdir -p "$scratch/$name/home"
    HOME=$scratch/$name/home STOCKQUERY_SETTINGS_ROOT=$scratch/$name/settings \
        XDG_RUNTIME_DIR=$scratch/$name \
        "$@" "$mode" "$demo" "$out/$name.png" "${arguments[@]}" -platform "$platform" >/dev/null 2>"$scratch/$name/said" ||
        { cat "$scratch/$name/said" >&2 && exit 1; }
done <"$here/screenshots.txt"
