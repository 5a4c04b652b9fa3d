#!/bin/bash
# The device's notification service as a process, between launches and at them:
#  (a) wake-ups while nothing is due: context switches (voluntary + involuntary, from
#      /proc/PID/status) over IDLE_SECONDS with an empty table, then with one
#      registration an hour ahead;
#  (b) launch lateness: LAUNCHES registrations one second apart, from the due second to
#      first instructions of the started program (a probe without the C library), median
#      and worst;
#  (c) the service's peak RSS (VmHWM) after all of that.
# Builds nothing: give it a build directory holding tickvane-device,
# bench/service/service_launch_probe and bench/service/service_register_at.
# Usage: bench/service/run.sh [build-dir]      (env: IDLE_SECONDS=10 LAUNCHES=20)
set -euo pipefail

[[ -d ${1:-build} ]] || { echo "run.sh: no build directory ${1:-build}" >&2; exit 1; }
build=$(realpath "${1:-build}")
idle_seconds=${IDLE_SECONDS:-10}
launches=${LAUNCHES:-20}
service=$build/tickvane-device
probe=$build/bench/service/service_launch_probe
register_at=$build/bench/service/service_register_at
[[ -x $service && -x $probe && -x $register_at ]] ||
    { echo "run.sh: build tickvane-device, service_launch_probe and service_register_at in $build first" >&2; exit 1; }

work=$(mktemp -d)
service_pid=
cleanup() {
    if [[ -n $service_pid ]]; then kill "$service_pid" 2>/dev/null || true; wait "$service_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

root=$work/root
mkdir -p "$root/Program Files/Bench"
cp "$probe" "$root/Program Files/Bench/probe"
app='Program Files\Bench\probe'

"$service" --root "$root" service 2>"$work/service.log" &
service_pid=$!
for _ in $(seq 200); do grep -q "notification service" "$work/service.log" 2>/dev/null && break; sleep 0.01; done
grep -q "notification service" "$work/service.log" ||
    { echo "run.sh: the service did not start:" >&2; cat "$work/service.log" >&2; exit 1; }
sleep 0.2  # past its start-up

switches() { awk '/^(non)?voluntary_ctxt_switches:/ { s += $2 } END { print s }' "/proc/$service_pid/status"; }
local_at() { date -d "@$1" '+%Y-%m-%d %H:%M:%S'; }

# --- (a) wake-ups while nothing is due -------------------------------------------------------
s0=$(switches); sleep "$idle_seconds"; s1=$(switches)
"$register_at" "$root" "$(local_at $(($(date +%s) + 3600)))" "$app" hour-ahead
sleep 0.2  # the wake-up that delivers the registration is not idling
s2=$(switches); sleep "$idle_seconds"; s3=$(switches)

# --- (b) launch lateness ------------------------------------------------------------------------
first=$(($(date +%s) + 2))
for i in $(seq 0 $((launches - 1))); do
    "$register_at" "$root" "$(local_at $((first + i)))" "$app" "$((first + i))"
done
launched() { if [[ -f $root/launches.log ]]; then wc -l <"$root/launches.log"; else echo 0; fi; }
for _ in $(seq $(((launches + 5) * 20))); do
    [[ $(launched) -ge $launches ]] && break
    sleep 0.05
done
[[ $(launched) -ge $launches ]] ||
    { echo "run.sh: only $(launched) of $launches launches:" >&2; cat "$work/service.log" >&2; exit 1; }
read -r late_med late_min late_max < <(
    awk '{ printf "%.3f\n", ($2 - $1 * 1e9) / 1e6 }' "$root/launches.log" | sort -n | awk '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.3f %.3f %.3f\n", m, v[1], v[NR] }')
peak_kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$service_pid/status")
pending=$("$service" --root "$root" pending | wc -l)

# --- the table -----------------------------------------------------------------------------------
awk -v idle="$idle_seconds" -v e=$((s1 - s0)) -v p=$((s3 - s2)) -v n="$launches" -v med="$late_med" \
    -v min="$late_min" -v max="$late_max" -v kb="$peak_kb" -v left="$pending" '
function verdict(ok) { return ok ? "met" : "MISSED" }
BEGIN {
    printf "(a) context switches of the idle service over %d s\n", idle
    printf "    empty table ............................. %d\n", e
    printf "    one registration an hour ahead .......... %d\n", p
    printf "    goal: 0 wake-ups while nothing is due ... %s\n\n", verdict(e == 0 && p == 0)
    printf "(b) launch lateness, due second -> started program running, %d launches (ms)\n", n
    printf "    median %.3f   best %.3f   worst %.3f\n", med, min, max
    printf "    goal: a few ms .......................... %s\n\n", verdict(max < 10)
    printf "(c) service peak RSS (VmHWM) ............... %.2f MB\n", kb / 1024
    printf "    goal: <= 5 MB ........................... %s\n", verdict(kb <= 5 * 1024)
    printf "    still pending (the hour-ahead one) ...... %d\n", left
}'
