#!/bin/bash
# Lateness of the clock's reappearance on a private Xvfb: the installed clock and the
# device's notification service, RUNS registrations each two seconds ahead, each
# timed from its registered second to the relaunched clock's first painted frame.
# Builds nothing: give it a build directory holding zubo.exe, tickvane-device and
# bench/cycle/relaunch_lateness.
# Usage: bench/cycle/run.sh [build-dir]      (env: RUNS=20)
set -euo pipefail

[[ -d ${1:-build} ]] || { echo "run.sh: no build directory ${1:-build}" >&2; exit 1; }
build=$(realpath "${1:-build}")
runs=${RUNS:-20}
tool=$build/bench/cycle/relaunch_lateness
command -v Xvfb >/dev/null || { echo "run.sh: Xvfb is not installed" >&2; exit 1; }
[[ -x $build/zubo.exe && -x $build/tickvane-device && -x $tool ]] ||
    { echo "run.sh: build zubo, tickvane-device and relaunch_lateness in $build first" >&2; exit 1; }

source "$(dirname "$0")/../common.sh"

install_device_tree "$build"

start_xvfb

"$root/Windows/tickvane-device" service 2>"$work/service.log" &
service_pid=$!
started+=("$service_pid")
sleep 0.5

end_clock() {  # the relaunched clock is the service's child; the service reaps it
    pkill -TERM -f "^$clock_exe" 2>/dev/null || true
    for _ in $(seq 100); do pgrep -f "^$clock_exe" >/dev/null || return 0; sleep 0.05; done
    echo "run.sh: the clock outlived SIGTERM" >&2; exit 1
}

"$tool" >/dev/null || { echo "run.sh: warm-up relaunch failed" >&2; cat "$work/service.log" >&2; exit 1; }
end_clock
: >"$work/late_ms"
for _ in $(seq "$runs"); do
    "$tool" >>"$work/late_ms" || { echo "run.sh: relaunch failed" >&2; cat "$work/service.log" >&2; exit 1; }
    end_clock
done
read -r median best worst < <(stats <"$work/late_ms")
echo "registered second to first painted frame of the relaunched clock, $runs relaunches (ms)"
echo "    median $median   best $best   worst $worst"
awk -v w="$worst" 'BEGIN { printf "    goal: worst <= 100 ms ... %s\n", w <= 100 ? "met" : "MISSED" }'
