#!/bin/bash
# The clock's steady cost against the floor: one run, side by side for SECONDS_RUN seconds,
#  - the installed clock on a 240 x 320 screen, on an X server of its own,
#  - the same clock on a 480 x 800 screen, on another X server of its own,
#  - a process that only wakes every 300 ms (the clock's period),
# each clock with its own device tree. CPU is on-CPU time from schedstat, clock and its
# X server together. Goals: 480 x 800 <= 1.5 x 240 x 320, and 240 x 320 <= 2 x the waker.
# Builds nothing: give it a build directory holding zubo.exe, tickvane-device and
# bench/desktop/wake_every.
# Usage: bench/steady/run.sh [build-dir]      (env: SECONDS_RUN=60 TICKVANE_SCALE=2)
set -euo pipefail

[[ -d ${1:-build} ]] || { echo "run.sh: no build directory ${1:-build}" >&2; exit 1; }
build=$(realpath "${1:-build}")
seconds_run=${SECONDS_RUN:-60}
wake_every=$build/bench/desktop/wake_every
source "$(dirname "$0")/../common.sh"
require_tools Xvfb xdotool cmake
[[ -x $build/zubo.exe && -x $build/tickvane-device && -x $wake_every ]] ||
    { echo "run.sh: build zubo, tickvane-device and wake_every in $build first" >&2; exit 1; }

install_device_tree "$build"
# The same zoom on both screens, so that only the screen's size differs.
export TICKVANE_SCALE=${TICKVANE_SCALE:-2}

cpu_ns() { read -r ns _ <"/proc/$1/schedstat"; echo "$ns"; }

declare -A clock_pid server_pid
for size in 240x320 480x800; do
    mkdir -p "$work/$size"
    cp -a "$root/." "$work/$size/"  # a device of its own: one clock per device
    # Big enough for the larger screen at the zoom, title bar included.
    start_xvfb 2048x2048 "$size"
    server_pid[$size]=$xvfb_pid
    xdotool mousemove 2047 2047  # off the window: no focus change reaches the clock
    TICKVANE_DEVICE_ROOT=$work/$size TICKVANE_SCREEN=$size \
        "$work/$size/Program Files/Tickvane/zubo.exe" 2>"$work/$size.log" &
    clock_pid[$size]=$!
    started+=("$!")
done
"$wake_every" 300 &
floor_pid=$!
started+=("$floor_pid")
sleep 2  # started, mapped and drawn before the window opens
for size in 240x320 480x800; do
    kill -0 "${clock_pid[$size]}" 2>/dev/null || { echo "run.sh: the $size clock ended (log: $(cat "$work/$size.log"))" >&2; exit 1; }
done

declare -A c0 s0 c1 s1
for size in 240x320 480x800; do c0[$size]=$(cpu_ns "${clock_pid[$size]}") s0[$size]=$(cpu_ns "${server_pid[$size]}"); done
f0=$(cpu_ns "$floor_pid")
t0=$EPOCHREALTIME
sleep "$seconds_run"
t1=$EPOCHREALTIME
for size in 240x320 480x800; do c1[$size]=$(cpu_ns "${clock_pid[$size]}") s1[$size]=$(cpu_ns "${server_pid[$size]}"); done
f1=$(cpu_ns "$floor_pid")
for size in 240x320 480x800; do
    kill -0 "${clock_pid[$size]}" 2>/dev/null || { echo "run.sh: the $size clock ended during the measurement" >&2; exit 1; }
done

awk -v t="$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')" -v scale="$TICKVANE_SCALE" \
    -v sc=$((c1[240x320] - c0[240x320])) -v ss=$((s1[240x320] - s0[240x320])) \
    -v lc=$((c1[480x800] - c0[480x800])) -v ls=$((s1[480x800] - s0[480x800])) -v f=$((f1 - f0)) '
function ms(ns) { return ns / 1e6 / t }
function verdict(ok) { return ok ? "met" : "MISSED" }
BEGIN {
    printf "%.1f s side by side, refresh every 300 ms, desktop window at zoom %d (on-CPU ms per s)\n", t, scale
    printf "    %-22s %8s %8s %8s\n", "", "clock", "Xvfb", "both"
    printf "    %-22s %8.3f %8.3f %8.3f\n", "clock 240 x 320", ms(sc), ms(ss), ms(sc + ss)
    printf "    %-22s %8.3f %8.3f %8.3f\n", "clock 480 x 800", ms(lc), ms(ls), ms(lc + ls)
    printf "    %-22s %8.3f\n", "waker, every 300 ms", ms(f)
    big = (lc + ls) / (sc + ss); floor = (sc + ss) / f
    printf "    480 x 800 / 240 x 320 (clock + Xvfb) %6.2f   goal <= 1.5: %s\n", big, verdict(big <= 1.5)
    printf "    240 x 320 (clock + Xvfb) / waker     %6.2f   goal <= 2:   %s\n", floor, verdict(floor <= 2)
}'
