#!/bin/sh
# Runs every COUNT-th test function of a Qt Test program, from the INDEX-th on (1-based), so that
# a long program's functions run as several CTest tests, each within its own time limit.
#   qt-test-shard.sh PROGRAM INDEX COUNT
set -eu
program=$1 index=$2 count=$3
functions=$("$program" -functions | sed -n 's/()$//p' | awk -v i="$index" -v n="$count" 'NR % n == i % n')
[ -n "$functions" ] || { echo "$program: no test function in shard $index of $count" >&2 && exit 1; }
# shellcheck disable=SC2086 # one word each
exec "$program" $functions
