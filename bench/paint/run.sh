#!/bin/bash
# Runs paint_bench five times over and prints the median paint / memcpy ratio (goal: at
# most 4), then, with --callgrind, the instructions one paint executes.
# Usage: bench/paint/run.sh [build-dir] [--callgrind]
set -euo pipefail

build=${1:-build}
bench=$build/bench/paint/paint_bench
[[ -x $bench ]] || { echo "no $bench: build the paint_bench target first" >&2; exit 1; }
command -v jq >/dev/null || { echo "jq is needed to read the benchmark's JSON" >&2; exit 1; }

json=$("$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_format=json)
median() {  # median CPU time in ns of the named benchmark
    jq -e --arg name "$1_median" '.benchmarks[] | select(.name == $name) | .cpu_time' <<<"$json"
}
paint=$(median BM_PaintClockFace)
copy=$(median BM_MemcpyBackBuffer)
awk -v p="$paint" -v c="$copy" 'BEGIN {
    printf "paint (median of 5, CPU)   %10.1f us\n", p / 1000
    printf "memcpy 640000 B (median)   %10.1f us\n", c / 1000
    printf "paint / memcpy             %10.2f   (goal <= 4: %s)\n", p / c, p / c <= 4 ? "met" : "MISSED"
}'

if [[ ${2:-} == --callgrind ]]; then
    paints=200
    out=$(mktemp -d)
    trap 'rm -rf "$out"' EXIT
    # Only instructions inside PaintClockFace count, so the device's set-up stays out.
    valgrind --tool=callgrind --callgrind-out-file="$out/cg" --toggle-collect='PaintClockFace(*)' \
        "$bench" --paints=$paints 2>"$out/log"
    total=$(sed -n 's/^summary: *//p' "$out/cg")
    awk -v t="$total" -v n=$paints 'BEGIN { printf "callgrind: %d paints, %.0f instructions per paint\n", n, t / n }'
fi
