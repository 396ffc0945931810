#!/usr/bin/env bash
# Rebuilds ICU's data DLL for Windows with only the items that KEEP_FILE names (about 31 MB
# of data otherwise): the full archive from the source, less every other item, packaged by
# the Windows build's own data step and installed over the full DLL.
#   filter-icu-data.sh SOURCE_DIR BUILD_DIR KEEP_FILE
set -euo pipefail
source_dir=$(realpath "$1")/source build_dir=$(realpath "$2") keep_file=$3
host=$build_dir/host windows=$build_dir/windows
icupkg() { LD_LIBRARY_PATH=$host/lib "$host/bin/icupkg" "$@"; }
full=$(ls "$source_dir"/data/in/icudt*l.dat)
filtered=$build_dir/$(basename "$full")
lists=$(mktemp -d)
trap 'rm -rf "$lists"' EXIT

icupkg -l "$full" | tr -d '\r' | sort >"$lists/all"
grep -Ev '^(#|$)' "$keep_file" | sed 's/.*/^(&)$/' >"$lists/patterns"
grep -Ex -f "$lists/patterns" "$lists/all" >"$lists/keep"
# Every pattern must name something: a renamed item would otherwise be dropped unseen.
while read -r pattern; do
    grep -Eq "$pattern" "$lists/keep" || { echo "no ICU data item matches $pattern" >&2 && exit 1; }
done <"$lists/patterns"
grep -vxF -f "$lists/keep" "$lists/all" >"$lists/remove.txt"
rm -f "$filtered"
icupkg -r "$lists/remove.txt" "$full" "$filtered"
echo "ICU data: $(wc -l <"$lists/keep") of $(wc -l <"$lists/all") items kept"

rm -rf "$windows/data/out"
make -C "$windows/data" ICUDATA_SOURCE_ARCHIVE="$filtered" >/dev/null
make -C "$windows/data" ICUDATA_SOURCE_ARCHIVE="$filtered" install >/dev/null
