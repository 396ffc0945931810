#!/usr/bin/env bash
# apt-get update that waits, up to ten minutes, for another package manager at work (an
# unattended upgrade, a second script) to let go of apt's lock instead of failing at once:
# apt-get update, unlike apt-get install, has no lock timeout of its own.
#   apt-update.sh
set -euo pipefail
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
for ((waited = 0; ; waited += 5)); do
    if output=$("${sudo[@]}" apt-get update -qq 2>&1); then
        exit 0
    elif grep -q 'Could not get lock' <<<"$output" && [ "$waited" -lt 600 ]; then
        [ "$waited" -eq 0 ] && echo "waiting for another package manager to finish"
        sleep 5
    else
        echo "$output" >&2
        exit 1
    fi
done
