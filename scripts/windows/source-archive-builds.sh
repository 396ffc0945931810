#!/usr/bin/env bash
# What a person who receives the source archive does: unpacks it into an empty folder, with no
# git anywhere above it, and runs the Windows build as the README says (with the cross-built
# libraries already in the cache, up to the zip); the zip must hold the same files as the one
# built from this tree.
#   source-archive-builds.sh SOURCE_ARCHIVE VERSION
set -euo pipefail
archive=$1 version=$2
repo=$(realpath "$(dirname "$0")/../..")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar -C "$work" -xJf "$archive"
tree=$work/stockquery-$version
! git -C "$tree" rev-parse 2>/dev/null || { echo "$tree is inside a git tree" >&2 && exit 1; }
bash "$tree/scripts/build-windows.sh" --zip-only >"$work/build.log" 2>&1 ||
    { tail -30 "$work/build.log" >&2 && exit 1; }
listing() { unzip -Z1 "$1" | sort; }
diff -u <(listing "$repo/dist/stockquery-win64.zip") <(listing "$tree/dist/stockquery-win64.zip")
echo "built from the unpacked source archive: $(listing "$tree/dist/stockquery-win64.zip" | wc -l) files in its zip, as in this tree's"
