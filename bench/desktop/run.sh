#!/bin/bash
# Whole-process measurements of the installed clock next to xclock, on a private Xvfb:
#  (a) launch to first painted frame, RUNS launches of each, alternating;
#  (b) SECONDS_RUN seconds of both running side by side: CPU seconds per second and peak RSS.
# Builds nothing: give it a build directory holding zubo.exe and bench/desktop/first_frame.
# Usage: bench/desktop/run.sh [build-dir]      (env: RUNS=20 SECONDS_RUN=60 BENCH_LOCALE=C)
#
# Both programs run under LC_ALL=$BENCH_LOCALE (default C): in a UTF-8 locale xclock asks
# the X server for CJK core fonts for its fontset and starts about 40 ms slower, which
# would flatter the clock.
set -euo pipefail

[[ -d ${1:-build} ]] || { echo "run.sh: no build directory ${1:-build}" >&2; exit 1; }
build=$(realpath "${1:-build}")
runs=${RUNS:-20}
seconds_run=${SECONDS_RUN:-60}
first_frame=$build/bench/desktop/first_frame
for tool in Xvfb xclock xdotool cmake; do
    command -v "$tool" >/dev/null || { echo "run.sh: $tool is not installed" >&2; exit 1; }
done
[[ -x $build/zubo.exe && -x $first_frame ]] ||
    { echo "run.sh: build the zubo and first_frame targets in $build first" >&2; exit 1; }

source "$(dirname "$0")/../common.sh"

# --- the device tree, the X server -------------------------------------------------------
install_device_tree "$build"

start_xvfb
# The pointer stays off every window, so no focus change reaches either program.
xdotool mousemove 1279 799

# --- (a) launch to first painted frame ----------------------------------------------------
time_launch() {  # title command...: prints ms, or stops the script with first_frame's complaint
    "$first_frame" --timeout-ms=10000 "$@" || { echo "run.sh: first_frame $* failed" >&2; exit 1; }
}
time_launch Tickvane "$clock_exe" >/dev/null  # one unrecorded launch each: caches warm for both
time_launch xclock xclock >/dev/null
: >"$work/clock_ms"
: >"$work/xclock_ms"
for _ in $(seq "$runs"); do
    time_launch Tickvane "$clock_exe" >>"$work/clock_ms"
    time_launch xclock xclock >>"$work/xclock_ms"
done
read -r clock_med clock_min clock_max < <(stats <"$work/clock_ms")
read -r xclock_med xclock_min xclock_max < <(stats <"$work/xclock_ms")

# --- (b) side by side: CPU per second and peak memory -------------------------------------
cpu_ticks() {  # utime + stime of a process, in clock ticks
    local stat rest
    local -a field
    stat=$(<"/proc/$1/stat")
    rest=${stat##*) }  # the command name may hold spaces and parentheses
    read -r -a field <<<"$rest"
    echo $((field[11] + field[12]))
}
cpu_ns() { read -r ns _ <"/proc/$1/schedstat"; echo "$ns"; }  # the same time, to the nanosecond
peak_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"; }

"$clock_exe" 2>"$work/clock.log" &
clock_pid=$!
started+=("$clock_pid")
xclock -update 1 -geometry -0+0 &
xclock_pid=$!
started+=("$xclock_pid")
"$build/bench/desktop/wake_every" 300 &  # the floor: waking at the clock's period, nothing else
floor_pid=$!
started+=("$floor_pid")
sleep 2  # both started, mapped and drawn before the window opens
for title in Tickvane xclock; do
    xdotool search --name "^$title\$" >/dev/null || { echo "run.sh: no window '$title' after 2 s" >&2; exit 1; }
done
t0=$EPOCHREALTIME
c0=$(cpu_ticks "$clock_pid") x0=$(cpu_ticks "$xclock_pid") v0=$(cpu_ticks "$xvfb_pid")
cn0=$(cpu_ns "$clock_pid") xn0=$(cpu_ns "$xclock_pid") fn0=$(cpu_ns "$floor_pid")
sleep "$seconds_run"
t1=$EPOCHREALTIME
c1=$(cpu_ticks "$clock_pid") x1=$(cpu_ticks "$xclock_pid") v1=$(cpu_ticks "$xvfb_pid")
cn1=$(cpu_ns "$clock_pid") xn1=$(cpu_ns "$xclock_pid") fn1=$(cpu_ns "$floor_pid")
for pid in "$clock_pid" "$xclock_pid"; do
    kill -0 "$pid" 2>/dev/null || { echo "run.sh: process $pid ended during the measurement" >&2; exit 1; }
done
clock_kb=$(peak_kb "$clock_pid")
xclock_kb=$(peak_kb "$xclock_pid")

# --- the table -----------------------------------------------------------------------------
awk -v hz="$(getconf CLK_TCK)" -v t="$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')" \
    -v runs="$runs" -v locale="$LC_ALL" -v cmed="$clock_med" -v cmin="$clock_min" -v cmax="$clock_max" \
    -v xmed="$xclock_med" -v xmin="$xclock_min" -v xmax="$xclock_max" \
    -v cc=$((c1 - c0)) -v xc=$((x1 - x0)) -v vc=$((v1 - v0)) -v ck="$clock_kb" -v xk="$xclock_kb" \
    -v cn=$((cn1 - cn0)) -v xn=$((xn1 - xn0)) -v fn=$((fn1 - fn0)) '
function verdict(ok) { return ok ? "met" : "MISSED" }
BEGIN {
    printf "(a) launch to first painted frame, %d launches each, alternating (ms; LC_ALL=%s)\n", runs, locale
    printf "    %-10s %8s %8s %8s\n", "", "median", "min", "max"
    printf "    %-10s %8.1f %8.1f %8.1f\n", "Tickvane", cmed, cmin, cmax
    printf "    %-10s %8.1f %8.1f %8.1f\n", "xclock", xmed, xmin, xmax
    printf "    goal: Tickvane median < xclock median ......... %s\n\n", verdict(cmed < xmed)
    cs = cc / hz / t; xs = xc / hz / t
    printf "(b) %.1f s side by side (Tickvane refreshing every 300 ms, xclock -update 1)\n", t
    printf "    %-10s %14s %14s\n", "", "CPU s per s", "peak RSS (MB)"
    printf "    %-10s %14.5f %14.1f\n", "Tickvane", cs, ck / 1024
    printf "    %-10s %14.5f %14.1f\n", "xclock", xs, xk / 1024
    printf "    %-10s %14.5f %14s\n", "(Xvfb)", vc / hz / t, "-"
    printf "    CPU ticks of %d Hz: Tickvane %d, xclock %d; on-CPU time from schedstat:\n", hz, cc, xc
    printf "    Tickvane %.5f s/s (%.2f ms per 300 ms tick), xclock %.5f s/s\n", cn / 1e9 / t,
           cn / 1e6 / (t / 0.3), xn / 1e9 / t
    printf "    a process that only wakes every 300 ms: %.5f s/s (schedstat)\n", fn / 1e9 / t
    printf "    goal: Tickvane CPU/s <= xclock CPU/s ............ %s (schedstat: %s)\n", verdict(cs <= xs),
           verdict(cn <= xn)
    printf "    goal: Tickvane peak RSS <= 1.5 x xclock (%.1f MB) . %s (%.2f x)\n", 1.5 * xk / 1024,
           verdict(ck <= 1.5 * xk), ck / xk
}'
