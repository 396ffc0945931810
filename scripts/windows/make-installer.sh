#!/usr/bin/env bash
# The installer of a staged folder: its uninstaller removes exactly the staged files, then
# their folders, deepest first. With a signing certificate (see sign.sh) the uninstaller and
# the installer are signed too.
#   make-installer.sh STAGE_DIR OUTFILE
set -euo pipefail
stage=$1 outfile=$2
windows=$(realpath "$(dirname "$0")")
version=$("$(dirname "$0")/project-version.sh")
uninstall=$(mktemp --suffix=.nsh)
trap 'rm -f "$uninstall"' EXIT
{
    (cd "$stage" && find . -type f | sort) | sed 's|^\./|Delete "$INSTDIR\\|; s|$|"|'
    (cd "$stage" && find . -mindepth 1 -type d | sort -r) | sed 's|^\./|RMDir "$INSTDIR\\|; s|$|"|'
} | sed 's|/|\\|g' >"$uninstall"
signing=()
[ -n "${STOCKQUERY_SIGNING_CERT:-}" ] && signing=(-DSIGN="$windows/sign.sh")
makensis -V2 -INPUTCHARSET UTF8 -DSTAGE="$stage" -DUNINSTALL="$uninstall" -DVERSION="$version" \
    -DSIZE_KB="$(du -sk "$stage" | cut -f1)" -DICON="$windows/../../resources/windows/stockquery.ico" \
    -DLICENCES="$stage/licences" "${signing[@]}" -DOUTFILE="$outfile" "$windows/installer.nsi"
"$windows/sign.sh" "$outfile"
