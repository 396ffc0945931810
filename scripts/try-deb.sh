#!/usr/bin/env bash
# Installs the Debian package on this machine as people install it (apt), starts the program
# for a user with an empty home (it makes the demo database and connects to it), runs the
# command from the PATH, then removes the package and checks that nothing of it is left under
# /usr. Needs root or sudo; not part of the tests, which check the package without installing.
#   try-deb.sh [DEB]   (dist/stockquery_<version>_amd64.deb)
set -euo pipefail
repo=$(realpath "$(dirname "$0")/..")
deb=$(realpath "${1:-$repo/dist/stockquery_$("$repo/scripts/windows/project-version.sh")_amd64.deb}")
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "$deb" >/dev/null 2>&1
installed=$(dpkg -L stockquery)
echo "installed: $(grep -c '^/usr/bin/' <<<"$installed") programs, $(wc -l <<<"$installed") paths"

# A first start with an empty home: the demo is made and connected to within a minute.
HOME=$home QT_QPA_PLATFORM=offscreen stockquery >"$home/out.txt" 2>&1 &
program=$!
demo=$home/.local/share/stockquery/demo-erp.sqlite
for _ in $(seq 60); do
    [ -s "$demo" ] && [ -n "$(find "$home/.config/stockquery" -name '*.reg' 2>/dev/null)" ] && break
    sleep 1
done
# Still running: it started and stayed up.
kill "$program" || { echo "the program ended by itself" >&2 && cat "$home/out.txt" >&2 && exit 1; }
wait "$program" 2>/dev/null || true
test -s "$demo" || { echo "no demo database under the empty home" >&2 && cat "$home/out.txt" >&2 && exit 1; }
echo "first start: the demo database made under the user's home, its connection stored"
# The command from the PATH, on the stored connection.
HOME=$home stockquery-export --list-warehouses | grep -q '半成品库'
echo "stockquery-export --list-warehouses from the PATH lists the demo's warehouses"

DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove -y -qq stockquery >/dev/null 2>&1
left=$(while read -r path; do if [ -f "$path" ]; then echo "$path"; fi; done <<<"$installed")
test -z "$left" || { echo "left after removal: $left" >&2 && exit 1; }
echo "removed: none of its files is left under /usr"
