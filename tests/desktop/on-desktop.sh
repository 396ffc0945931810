#!/usr/bin/env bash
# Runs a program on a desktop of its own, as people meet it: an X server (Xvfb) of the given
# size with a window manager (openbox), the program on Qt's xcb platform.
#   on-desktop.sh 1280x800 PROGRAM [ARGUMENT...]
set -euo pipefail
size=$1
shift
scratch=$(mktemp -d)
xvfb=
wm=
stop() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$scratch"
}
trap stop EXIT
# Xvfb picks a free display itself and says which, so that desktops run side by side.
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 200); do [ -s "$scratch/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$scratch/display")"
HOME=$scratch openbox --sm-disable >/dev/null 2>&1 &
wm=$!
for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.05
done
QT_QPA_PLATFORM=xcb "$@"
