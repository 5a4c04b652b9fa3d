#!/bin/bash
# Whole-process measurements of the installed clock next to xclock and a bare Xlib client,
# on private Xvfb servers:
#  (a) launch to first painted frame, RUNS launches of each, alternating: wall time, and the
#      program's own on-CPU time and page faults by then (steadier than wall time on a busy
#      machine; the faults do not depend on the load at all);
#  (b) SECONDS_RUN seconds of the clock, xclock, a bare Xlib ticker (a 300 ms poll and one
#      small XPutImage a second) and a bare 300 ms waker running side by side, the clock,
#      xclock and the ticker each on an X server of its own: CPU of each program plus its
#      server, and peak RSS.
# Builds nothing: give it a build directory holding zubo.exe and bench/desktop/first_frame,
# bare_client, bare_ticker and wake_every.
# Usage: bench/desktop/run.sh [build-dir]      (env: RUNS=20 SECONDS_RUN=60 WINDOW_S=10 BENCH_LOCALE=C)
#
# Every program runs under LC_ALL=$BENCH_LOCALE (default C): in a UTF-8 locale xclock asks
# the X server for CJK core fonts for its fontset and starts about 40 ms slower, which
# would flatter the clock.
set -euo pipefail

[[ -d ${1:-build} ]] || { echo "run.sh: no build directory ${1:-build}" >&2; exit 1; }
build=$(realpath "${1:-build}")
runs=${RUNS:-20}
seconds_run=${SECONDS_RUN:-60}
first_frame=$build/bench/desktop/first_frame
bare_client=$build/bench/desktop/bare_client
bare_ticker=$build/bench/desktop/bare_ticker
for tool in Xvfb xclock xdotool cmake; do
    command -v "$tool" >/dev/null || { echo "run.sh: $tool is not installed" >&2; exit 1; }
done
[[ -x $build/zubo.exe && -x $first_frame && -x $bare_client && -x $bare_ticker && -x $build/bench/desktop/wake_every ]] ||
    { echo "run.sh: build the zubo, first_frame, bare_client, bare_ticker and wake_every targets in $build first" >&2
      exit 1; }

source "$(dirname "$0")/../common.sh"

# --- the device tree, the X server -------------------------------------------------------
install_device_tree "$build"

start_xvfb
# The pointer stays off every window, so no focus change reaches either program.
xdotool mousemove 1279 799

# --- (a) launch to first painted frame ----------------------------------------------------
time_launch() {  # title command...: prints "ms cpu-ms", or stops the script with first_frame's complaint
    "$first_frame" --timeout-ms=10000 --cpu "$@" || { echo "run.sh: first_frame $* failed" >&2; exit 1; }
}
# The bare client's window is the clock's: the clock's size on this screen, read once.
"$clock_exe" 2>/dev/null &
probe_pid=$!
started+=("$probe_pid")
for _ in $(seq 50); do
    clock_size=$(xdotool search --name '^Tickvane$' getwindowgeometry 2>/dev/null | awk '/Geometry/ { print $2 }' || true)
    [[ -n $clock_size ]] && break
    sleep 0.1
done
kill "$probe_pid"; wait "$probe_pid" 2>/dev/null || true
[[ -n $clock_size ]] || { echo "run.sh: no window 'Tickvane' after 5 s" >&2; exit 1; }
bare=("$bare_client" "${clock_size%x*}" "${clock_size#*x}")

time_launch Tickvane "$clock_exe" >/dev/null  # one unrecorded launch each: caches warm for all
time_launch xclock xclock >/dev/null
time_launch bare "${bare[@]}" >/dev/null
: >"$work/clock_ms"
: >"$work/xclock_ms"
: >"$work/bare_ms"
for _ in $(seq "$runs"); do
    time_launch Tickvane "$clock_exe" >>"$work/clock_ms"
    time_launch xclock xclock >>"$work/xclock_ms"
    time_launch bare "${bare[@]}" >>"$work/bare_ms"
done
for who in clock xclock bare; do
    read -r "${who}_med" "${who}_min" "${who}_max" < <(cut -d' ' -f1 "$work/${who}_ms" | stats)
    read -r "${who}_cpu" _ _ < <(cut -d' ' -f2 "$work/${who}_ms" | stats)
    read -r "${who}_faults" _ _ < <(cut -d' ' -f3 "$work/${who}_ms" | stats)
done
# Each launch of the clock against the bare client's launch right after it: the machine's
# drift over the run then weighs on both sides of every ratio alike.
read -r pair_med pair_min pair_max < <(paste -d' ' "$work/clock_ms" "$work/bare_ms" | awk '{ print $1 / $4 }' |
    sort -n | awk '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.2f %.2f %.2f\n", m, v[1], v[NR] }')

# --- (b) side by side: CPU per second and peak memory -------------------------------------
cpu_ns() { read -r ns _ <"/proc/$1/schedstat"; echo "$ns"; }  # on-CPU time, to the nanosecond
peak_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"; }

# Each on a server of its own, so that each server's CPU is its client's doing.
start_xvfb 1280x800 clock-xvfb
clock_server=$xvfb_pid
xdotool mousemove 1279 799
"$clock_exe" 2>"$work/clock.log" &
clock_pid=$!
started+=("$clock_pid")
start_xvfb 1280x800 xclock-xvfb
xclock_server=$xvfb_pid
xdotool mousemove 1279 799
xclock -update 1 -geometry -0+0 &
xclock_pid=$!
started+=("$xclock_pid")
start_xvfb 1280x800 ticker-xvfb
ticker_server=$xvfb_pid
xdotool mousemove 1279 799
"$bare_ticker" "${clock_size%x*}" "${clock_size#*x}" &  # the floor for an X clock: a poll, one small image a second
ticker_pid=$!
started+=("$ticker_pid")
"$build/bench/desktop/wake_every" 300 &  # the floor: waking at the clock's period, nothing else
floor_pid=$!
started+=("$floor_pid")
sleep 2  # all started, mapped and drawn before the window opens
for pid in "$clock_pid" "$xclock_pid" "$ticker_pid"; do
    kill -0 "$pid" 2>/dev/null || { echo "run.sh: process $pid ended before the measurement" >&2; exit 1; }
done
t0=$EPOCHREALTIME
c0=$(cpu_ns "$clock_pid") cs0=$(cpu_ns "$clock_server") x0=$(cpu_ns "$xclock_pid") xs0=$(cpu_ns "$xclock_server")
f0=$(cpu_ns "$floor_pid") k0=$(cpu_ns "$ticker_pid") ks0=$(cpu_ns "$ticker_server")
# Also read every WINDOW_S seconds: the machine's state moves every program's cost between
# runs, so the ratio is also given per window, as a median and a range.
window_s=${WINDOW_S:-10}
sample() { echo "$(cpu_ns "$clock_pid") $(cpu_ns "$clock_server") $(cpu_ns "$xclock_pid") $(cpu_ns "$xclock_server")" \
    "$(cpu_ns "$ticker_pid") $(cpu_ns "$ticker_server") $(cpu_ns "$floor_pid")"; }
sample >"$work/windows"
for ((left = seconds_run; left > 0; left -= window_s)); do
    sleep $((left < window_s ? left : window_s))
    sample >>"$work/windows"
done
t1=$EPOCHREALTIME
c1=$(cpu_ns "$clock_pid") cs1=$(cpu_ns "$clock_server") x1=$(cpu_ns "$xclock_pid") xs1=$(cpu_ns "$xclock_server")
f1=$(cpu_ns "$floor_pid") k1=$(cpu_ns "$ticker_pid") ks1=$(cpu_ns "$ticker_server")
for pid in "$clock_pid" "$xclock_pid" "$ticker_pid"; do
    kill -0 "$pid" 2>/dev/null || { echo "run.sh: process $pid ended during the measurement" >&2; exit 1; }
done
clock_kb=$(peak_kb "$clock_pid")
xclock_kb=$(peak_kb "$xclock_pid")
ticker_kb=$(peak_kb "$ticker_pid")

# --- the table -----------------------------------------------------------------------------
awk -v t="$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')" -v runs="$runs" -v locale="$LC_ALL" \
    -v size="$clock_size" \
    -v cmed="$clock_med" -v cmin="$clock_min" -v cmax="$clock_max" -v ccpu="$clock_cpu" -v cpf="$clock_faults" \
    -v xmed="$xclock_med" -v xmin="$xclock_min" -v xmax="$xclock_max" -v xcpu="$xclock_cpu" -v xpf="$xclock_faults" \
    -v bmed="$bare_med" -v bmin="$bare_min" -v bmax="$bare_max" -v bcpu="$bare_cpu" -v bpf="$bare_faults" \
    -v pmed="$pair_med" -v pmin="$pair_min" -v pmax="$pair_max" \
    -v cn=$((c1 - c0)) -v csn=$((cs1 - cs0)) -v xn=$((x1 - x0)) -v xsn=$((xs1 - xs0)) -v fn=$((f1 - f0)) \
    -v kn=$((k1 - k0)) -v ksn=$((ks1 - ks0)) -v ck="$clock_kb" -v xk="$xclock_kb" -v kk="$ticker_kb" '
function verdict(ok) { return ok ? "met" : "MISSED" }
function ms(ns) { return ns / 1e6 / t }
BEGIN {
    printf "(a) launch to first painted frame, %d launches each, alternating (LC_ALL=%s)\n", runs, locale
    printf "    %-22s %8s %8s %8s %14s %12s\n", "", "median", "min", "max", "on-CPU median", "page faults"
    printf "    %-22s %8.1f %8.1f %8.1f %14.2f %12d\n", "Tickvane", cmed, cmin, cmax, ccpu, cpf
    printf "    %-22s %8.1f %8.1f %8.1f %14.2f %12d\n", "xclock", xmed, xmin, xmax, xcpu, xpf
    printf "    %-22s %8.1f %8.1f %8.1f %14.2f %12d\n", "bare Xlib, " size, bmed, bmin, bmax, bcpu, bpf
    printf "    Tickvane / bare: %.2f x wall, %.2f x on-CPU, %.2f x page faults\n", cmed / bmed, ccpu / bcpu, cpf / bpf
    printf "    launch by launch, Tickvane / the bare launch after it: median %.2f x (%.2f-%.2f)\n", pmed, pmin, pmax
    printf "    goal: Tickvane median <= 1.3 x bare ........... %s (%.2f x)\n", verdict(cmed <= 1.3 * bmed), cmed / bmed
    printf "    goal: Tickvane median < xclock median ......... %s (%.2f x)\n\n", verdict(cmed < xmed), cmed / xmed
    printf "(b) %.1f s side by side (Tickvane refreshing every 300 ms, xclock -update 1), each on its own Xvfb\n", t
    printf "    %-22s %10s %10s %10s %14s\n", "on-CPU ms per s", "program", "Xvfb", "both", "peak RSS (MB)"
    printf "    %-22s %10.3f %10.3f %10.3f %14.1f\n", "Tickvane", ms(cn), ms(csn), ms(cn + csn), ck / 1024
    printf "    %-22s %10.3f %10.3f %10.3f %14.1f\n", "xclock", ms(xn), ms(xsn), ms(xn + xsn), xk / 1024
    printf "    %-22s %10.3f %10.3f %10.3f %14.1f\n", "bare Xlib ticker", ms(kn), ms(ksn), ms(kn + ksn), kk / 1024
    printf "    %-22s %10.3f %10s %10.3f\n", "waker, every 300 ms", ms(fn), "-", ms(fn)
    printf "    goal: Tickvane + Xvfb <= xclock + Xvfb ........ %s (%.2f x)\n", verdict(cn + csn <= xn + xsn),
           (cn + csn) / (xn + xsn)
    printf "    goal: Tickvane + Xvfb <= 2.5 x the waker ...... %s (%.2f x)\n", verdict(cn + csn <= 2.5 * fn),
           (cn + csn) / fn
    printf "    goal: Tickvane peak RSS <= xclock peak RSS .... %s (%.2f x)\n", verdict(ck <= xk), ck / xk
    printf "    floor: Tickvane + Xvfb / ticker + Xvfb ........ %.2f x\n", (cn + csn) / (kn + ksn)
    printf "    floor: ticker + Xvfb / the waker .............. %.2f x\n", (kn + ksn) / fn
}'
# Per window: Tickvane + Xvfb against xclock + Xvfb, the ticker + Xvfb and the waker.
awk -v w="$window_s" '
function median(v, n,    i, j, t) {
    for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j - 1] > v[j]; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
}
NR > 1 {
    c = $1 + $2 - p1 - p2; x = $3 + $4 - p3 - p4; k = $5 + $6 - p5 - p6; f = $7 - p7
    if (x > 0 && k > 0 && f > 0) { n++; rx[n] = c / x; rk[n] = c / k; rf[n] = c / f }
}
{ p1 = $1; p2 = $2; p3 = $3; p4 = $4; p5 = $5; p6 = $6; p7 = $7 }
END {
    if (n == 0) exit
    mx = median(rx, n); mk = median(rk, n); mf = median(rf, n)  # each sorts its list: [1] least, [n] most
    printf "    per %d s window (%d of them), median (least-most):\n", w, n
    printf "      Tickvane + Xvfb / xclock + Xvfb ............ %.2f x (%.2f-%.2f)\n", mx, rx[1], rx[n]
    printf "      Tickvane + Xvfb / ticker + Xvfb ............ %.2f x (%.2f-%.2f)\n", mk, rk[1], rk[n]
    printf "      Tickvane + Xvfb / the waker ................ %.2f x (%.2f-%.2f)\n", mf, rf[1], rf[n]
}' "$work/windows"
