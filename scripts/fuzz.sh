#!/bin/bash
# Builds the fuzz targets (the "fuzz" preset, clang) and runs each for SECONDS (60 unless
# given), all at once, from the seeds in fuzz/corpus; what they find new is kept in
# build/fuzz/corpus, a crashing input in build/fuzz/findings. Prints each target's executions
# and coverage; fails when a target found a crash, a hang, a leak or a sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" >/dev/null
mkdir -p build/fuzz/corpus build/fuzz/findings
status=0
pids=()
targets=()
for seeds in fuzz/corpus/*/; do
    target=$(basename "$seeds")
    mkdir -p "build/fuzz/corpus/$target"
    build/fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="build/fuzz/findings/$target-" \
        "build/fuzz/corpus/$target" "$seeds" >"build/fuzz/$target.log" 2>&1 &
    pids+=($!)
    targets+=("$target")
done
for i in "${!pids[@]}"; do
    target=${targets[$i]}
    if wait "${pids[$i]}"; then result=ok; else result=FAILED; status=1; fi
    log=build/fuzz/$target.log
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    features=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    printf '%-14s %-6s %10s runs  %6s edges  %6s features\n' "$target" "$result" "${runs:-?}" \
        "${coverage:-?}" "${features:-?}"
    [ "$result" = ok ] || grep -E 'ERROR|SUMMARY|#[0-9]+ .* in ' "$log" | head -20
done
exit $status
