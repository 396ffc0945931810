#!/usr/bin/env bash
# The corresponding source of a build, made from the files the build used: in a git working
# tree every file git tracks or would track (the committed tree and any change or new file not
# ignored, so that what was built from uncommitted changes is in it too); in a tree without git
# (an unpacked source archive) every file but the build and its packages. Dated by the last
# commit when there is one (else by its newest file), so that the same tree gives the same archive.
#   source-archive.sh REPO VERSION OUTFILE
set -euo pipefail
repo=$1 version=$2 outfile=$3
list=$(mktemp)
trap 'rm -f "$list"' EXIT
if git -C "$repo" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$repo" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do [ -f "$file" ] && printf '%s\0' "$file"; done | sort -z) >"$list"
    when=@$(git -C "$repo" log -1 --format=%ct)
else
    (cd "$repo" && find . \( -path ./build -o -path ./dist -o -path ./.git \) -prune -o -type f \
        -printf '%P\0' | sort -z) >"$list"
    when=@$(cd "$repo" && xargs -0 stat -c %Y <"$list" | sort -n | tail -1) # the newest file's
fi
tar -C "$repo" --null -T "$list" --sort=name --mtime="$when" --owner=0 --group=0 --numeric-owner \
    --transform "s,^,stockquery-$version/," -cf - | xz -T0 >"$outfile"
