#!/bin/sh
# The export command lays its columns out with Qt Gui's fonts and needs no Qt Widgets: the
# libraries it names, checked that Qt Gui is among them, so that an empty list cannot pass.
#   needs-no-widgets.sh PROGRAM
set -eu
needed=$(objdump -p "$1" | sed -n 's/^ *NEEDED *//p')
echo "$needed"
echo "$needed" | grep -q '^libQt6Gui' || { echo "$1: Qt Gui is not among its libraries" >&2 && exit 1; }
if echo "$needed" | grep -q 'Qt6Widgets'; then
    echo "$1 needs Qt Widgets" >&2
    exit 1
fi
