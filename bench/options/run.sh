#!/bin/bash
# The options dialog of the installed clock on a private Xvfb:
#  (1) a tap on the options soft key to the fully painted dialog, RUNS openings;
#  (2) the clock's resident memory (VmRSS) and peak (VmHWM) before the first opening and
#      with the dialog open.
# Builds nothing: give it a build directory holding zubo.exe, tickvane-device (the install
# needs it) and bench/options/dialog_latency.
# Usage: bench/options/run.sh [build-dir]      (env: RUNS=20, FRAME=file.ppm to keep the
#        last opening's grab that counted as the painted dialog, to check it by eye)
set -euo pipefail

[[ -d ${1:-build} ]] || { echo "run.sh: no build directory ${1:-build}" >&2; exit 1; }
build=$(realpath "${1:-build}")
runs=${RUNS:-20}
tool=$build/bench/options/dialog_latency
for cmd in Xvfb xdotool cmake; do
    command -v "$cmd" >/dev/null || { echo "run.sh: $cmd is not installed" >&2; exit 1; }
done
[[ -x $build/zubo.exe && -x $build/tickvane-device && -x $tool ]] ||
    { echo "run.sh: build zubo, tickvane-device and dialog_latency in $build first" >&2; exit 1; }

source "$(dirname "$0")/../common.sh"

install_device_tree "$build"

start_xvfb
# The pointer stays off the window: only the soft key is ever tapped (a tap on the face
# ends the clock), and no focus change reaches it.
xdotool mousemove 1279 799

"$clock_exe" 2>"$work/clock.log" &
clock_pid=$!
started+=("$clock_pid")
for _ in $(seq 100); do xdotool search --name '^Tickvane$' >/dev/null 2>&1 && break; sleep 0.05; done
xdotool search --name '^Tickvane$' >/dev/null || { echo "run.sh: no window 'Tickvane' after 5 s" >&2; exit 1; }
sleep 1  # the clock settles: first frames drawn, start-up memory in place

"$tool" --pid="$clock_pid" --runs="$runs" ${FRAME:+--frame="$FRAME"} >"$work/out" ||
    { echo "run.sh: dialog_latency failed" >&2; cat "$work/clock.log" >&2; exit 1; }
kill -0 "$clock_pid" 2>/dev/null || { echo "run.sh: the clock ended during the measurement" >&2; exit 1; }

read -r med min max < <(awk '$1 == "open_ms" { print $2 }' "$work/out" | stats)
read -r rss0 hwm0 < <(awk '$1 == "memory_closed_kb" { print $2, $3 }' "$work/out")
read -r rss1 hwm1 < <(awk '$1 == "memory_open_kb" { print $2, $3 }' "$work/out")
awk -v runs="$runs" -v each="$(awk '$1 == "open_ms" { printf "%s ", $2 }' "$work/out")" -v med="$med" -v min="$min" -v max="$max" \
    -v rss0="$rss0" -v hwm0="$hwm0" -v rss1="$rss1" -v hwm1="$hwm1" '
function verdict(ok) { return ok ? "met" : "MISSED" }
BEGIN {
    printf "(1) options soft key tapped to the fully painted dialog, %d openings (ms)\n", runs
    printf "    median %.1f   min %.1f   max %.1f\n", med, min, max
    printf "    each: %s\n", each
    printf "    goal: at most 50 ms ............................ %s (median), %s (max)\n\n",
           verdict(med <= 50), verdict(max <= 50)
    printf "(2) memory of the clock (MB)     %10s %10s %8s\n", "closed", "open", "ratio"
    printf "    resident (VmRSS)             %10.2f %10.2f %8.3f\n", rss0 / 1024, rss1 / 1024, rss1 / rss0
    printf "    peak resident (VmHWM)        %10.2f %10.2f %8.3f\n", hwm0 / 1024, hwm1 / 1024, hwm1 / hwm0
    printf "    goal: open at most 1.2 x closed ................ %s (RSS), %s (peak)\n",
           verdict(rss1 <= 1.2 * rss0), verdict(hwm1 <= 1.2 * hwm0)
}'
