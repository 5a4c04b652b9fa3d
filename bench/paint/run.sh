#!/bin/bash
# Runs paint_bench five times over and prints, for a 240 x 320 and a 480 x 800 screen, the
# median full paint / memcpy-of-the-back-buffer ratio (goal: at most 4) and the steady
# repaint; with --callgrind, the instructions one full paint executes on each screen.
# Usage: bench/paint/run.sh [build-dir] [--callgrind]
set -euo pipefail

build=${1:-build}
bench=$build/bench/paint/paint_bench
[[ -x $bench ]] || { echo "no $bench: build the paint_bench target first" >&2; exit 1; }
command -v jq >/dev/null || { echo "jq is needed to read the benchmark's JSON" >&2; exit 1; }

json=$("$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_format=json)
median() {  # median CPU time in ns of the named benchmark on screen $2 x $3
    jq -e --arg name "$1/w:$2/h:$3_median" '.benchmarks[] | select(.name == $name) | .cpu_time' <<<"$json"
}
for screen in "240 320" "480 800"; do
    read -r w h <<<"$screen"
    awk -v w="$w" -v h="$h" -v p="$(median BM_FullPaint "$w" "$h")" -v r="$(median BM_Repaint "$w" "$h")" \
        -v c="$(median BM_MemcpyBackBuffer "$w" "$h")" 'BEGIN {
        side = w > h ? w : h; if (side < 400) side = 400
        printf "%d x %d screen, %d x %d back buffer (medians of 5, CPU)\n", w, h, side, side
        printf "    full paint                 %10.2f us\n", p / 1000
        printf "    repaint, face unchanged    %10.2f us\n", r / 1000
        printf "    memcpy of the back buffer  %10.2f us\n", c / 1000
        printf "    full paint / memcpy        %10.2f   (goal <= 4: %s)\n", p / c, p / c <= 4 ? "met" : "MISSED"
    }'
done

if [[ ${2:-} == --callgrind ]]; then
    paints=200
    out=$(mktemp -d)
    trap 'rm -rf "$out"' EXIT
    for screen in 240x320 480x800; do
        # Only instructions inside PaintClockFace count, so the device's set-up stays out.
        valgrind --tool=callgrind --callgrind-out-file="$out/cg" --toggle-collect='PaintClockFace(*)' \
            "$bench" --paints=$paints "$screen" 2>"$out/log"
        total=$(sed -n 's/^summary: *//p' "$out/cg")
        awk -v t="$total" -v n=$paints -v s="$screen" \
            'BEGIN { printf "callgrind, %s: %d full paints, %.0f instructions per paint\n", s, n, t / n }'
    done
fi
