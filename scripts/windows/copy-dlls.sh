#!/usr/bin/env bash
# Copies into FOLDER every DLL that its programs and plugins need, found in the given folders,
# and what those DLLs need in turn; the system's own DLLs are not among them.
#   copy-dlls.sh FOLDER SEARCH_DIR...
set -euo pipefail
folder=$1
shift
needs() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
queue=$(find "$folder" -name '*.exe' -o -name '*.dll')
while [ -n "$queue" ]; do
    next=""
    for file in $queue; do
        for dll in $(needs "$file"); do
            [ -e "$folder/$dll" ] && continue
            for dir in "$@"; do
                if [ -f "$dir/$dll" ]; then
                    cp "$dir/$dll" "$folder/"
                    next="$next $folder/$dll"
                    break
                fi
            done
        done
    done
    queue=$next
done
