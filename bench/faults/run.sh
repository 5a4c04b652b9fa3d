#!/bin/bash
# Fault injection: N trials of each fault below against the real notification service
# and the real clock, as a table of trials, starts, losses and duplicates.
#   service killed -9 before the due second   registered 2 s ahead, killed 0.5 s before, restarted
#   service killed -9 at the due second       killed as the second begins, restarted
#   clock killed between commit and wake-up   the row committed, no wake-up sent
#   first use from 8 processes at once        8 registrations on a fresh tree, then the service
#   two clocks started at once                headless, both started together; one must stay
#   corrupt store                             cut to 100 bytes / garbage header / a folder, then a registration
# Starts and duplicates count program starts (a clock that stayed); losses count
# registrations never started (for the clocks: trials where none stayed), duplicates
# starts beyond the first (for the clocks: a second clock that stayed too).
# Exit status 1 when anything was lost or two clocks stayed.
# Builds nothing: give it a build directory holding tickvane-device, zubo.exe and
# bench/service/service_register_at.
# Usage: bench/faults/run.sh [build-dir] [N]      (N defaults to 20)
set -euo pipefail

[[ -d ${1:-build} ]] || { echo "run.sh: no build directory ${1:-build}" >&2; exit 1; }
build=$(realpath "${1:-build}")
trials=${2:-20}
service=$build/tickvane-device
clock=$build/zubo.exe
register_at=$build/bench/service/service_register_at
[[ -x $service && -x $clock && -x $register_at ]] ||
    { echo "run.sh: build tickvane-device, zubo and service_register_at in $build first" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

app='Program Files\Test\record'
now_ns() { date +%s%N; }
local_at() { date -d "@$1" '+%Y-%m-%d %H:%M:%S'; }
sleep_until_ns() {
    local wait=$(($1 - $(now_ns)))
    ((wait > 0)) && sleep "$(printf '%d.%09d' $((wait / 1000000000)) $((wait % 1000000000)))"
    return 0
}

# A fresh device tree whose recorder appends its argument to started.log.
fresh_root() {
    root=$(mktemp -d "$work/root-XXXXXX")
    mkdir -p "$root/Program Files/Test"
    printf '#!/bin/sh\necho "$1" >>"$TICKVANE_DEVICE_ROOT/started.log"\n' >"$root/Program Files/Test/record"
    chmod +x "$root/Program Files/Test/record"
}

# Starts the service for $root in the background; sets service_pid once it runs.
start_service() {
    "$service" --root "$root" service 2>>"$root/service.err" &
    service_pid=$!
    pids+=("$service_pid")
    for _ in $(seq 300); do
        [[ $(grep -c "notification service $service_pid" "$root/service.err" 2>/dev/null) -gt 0 ]] && return 0
        sleep 0.01
    done
    echo "run.sh: the service did not start:" >&2
    cat "$root/service.err" >&2
    exit 1
}

stop_service() { kill -9 "$service_pid" 2>/dev/null || true; wait "$service_pid" 2>/dev/null || true; }

started_count() { grep -cx -- "$1" "$root/started.log" 2>/dev/null || true; }

# Waits up to $2 tenths of a second for argument $1 to be started at least once.
wait_started() {
    for _ in $(seq "$2"); do [[ $(started_count "$1") -ge 1 ]] && break; sleep 0.1; done
}

declare -A t s l d
count() {  # fault, starts, registrations lost, extra starts
    t[$1]=$((${t[$1]:-0} + 1))
    s[$1]=$((${s[$1]:-0} + $2))
    l[$1]=$((${l[$1]:-0} + $3))
    d[$1]=$((${d[$1]:-0} + $4))
}
count_one() {  # fault, how often its one registration was started
    count "$1" "$2" $(($2 == 0)) $(($2 > 1 ? $2 - 1 : 0))
}

kill_service_trial() {  # fault, ns before the due second at which the service dies
    fresh_root
    start_service
    local due=$((($(now_ns) + 2500000000) / 1000000000))
    "$register_at" "$root" "$(local_at "$due")" "$app" due
    sleep_until_ns $((due * 1000000000 - $2))
    stop_service
    start_service
    sleep_until_ns $((due * 1000000000 + 500000000))
    wait_started due 10
    sleep 0.2  # a second start would show by now
    count_one "$1" "$(started_count due)"
    stop_service
}

commit_only_trial() {
    "$register_at" --commit-only "$root" "$(local_at $(($(date +%s) - 1)))" "$app" "unannounced-$1"
    wait_started "unannounced-$1" 10
    count_one "clock killed between commit and wake-up" "$(started_count "unannounced-$1")"
}

first_use_trial() {
    fresh_root
    local i
    local past
    past=$(local_at $(($(date +%s) - 1)))
    for i in 1 2 3 4 5 6 7 8; do "$register_at" "$root" "$past" "$app" "first-$i" 2>>"$root/refused" & done
    wait
    start_service
    local starts=0 lost=0 extra=0 n
    for i in 1 2 3 4 5 6 7 8; do
        wait_started "first-$i" 20
        n=$(started_count "first-$i")
        starts=$((starts + n))
        ((n == 0)) && lost=$((lost + 1))
        ((n > 1)) && extra=$((extra + n - 1))
    done
    count "first use from 8 processes at once" "$starts" "$lost" "$extra"
    stop_service
}

clock_trial() {
    fresh_root
    TICKVANE_DEVICE_ROOT=$root TICKVANE_DISPLAY=headless "$clock" 2>/dev/null &
    local a=$!
    TICKVANE_DEVICE_ROOT=$root TICKVANE_DISPLAY=headless "$clock" 2>/dev/null &
    local b=$!
    pids+=("$a" "$b")
    local alive=2 pid
    for _ in $(seq 80); do  # up to 4 s for the later one to find the first and end
        alive=0
        for pid in $a $b; do kill -0 "$pid" 2>/dev/null && [[ $(ps -o stat= -p "$pid") != Z* ]] && alive=$((alive + 1)); done
        ((alive < 2)) && break
        sleep 0.05
    done
    sleep 0.2
    alive=0
    for pid in $a $b; do kill -0 "$pid" 2>/dev/null && [[ $(ps -o stat= -p "$pid") != Z* ]] && alive=$((alive + 1)); done
    count "two clocks started at once" "$alive" $((alive == 0)) $((alive > 1 ? alive - 1 : 0))
    kill -9 "$a" "$b" 2>/dev/null || true
    wait "$a" "$b" 2>/dev/null || true
}

corrupt_trial() {  # trial number, picks the damage
    fresh_root
    "$register_at" "$root" "$(local_at $(($(date +%s) + 3600)))" "$app" earlier
    local db=$root/.device/notifications.db
    case $(($1 % 3)) in
        0) truncate -s 100 "$db" ;;
        1) printf 'this is no database at all' | dd of="$db" conv=notrunc status=none ;;
        2) rm -f "$db" && mkdir -p "$db/inside" ;;
    esac
    start_service
    "$register_at" "$root" "$(local_at $(($(date +%s) - 1)))" "$app" after 2>/dev/null || true
    wait_started after 20
    local n
    n=$(started_count after)
    ls "$root/.device"/notifications-*Z*.db >/dev/null 2>&1 || n=0  # the bad store must be kept
    count_one "corrupt store" "$n"
    stop_service
}

for i in $(seq "$trials"); do kill_service_trial "service killed -9 before the due second" 500000000; done
for i in $(seq "$trials"); do kill_service_trial "service killed -9 at the due second" 0; done
fresh_root
start_service
for i in $(seq "$trials"); do commit_only_trial "$i"; done
stop_service
for i in $(seq "$trials"); do first_use_trial; done
for i in $(seq "$trials"); do clock_trial; done
for i in $(seq "$trials"); do corrupt_trial "$i"; done

faults=("service killed -9 before the due second" "service killed -9 at the due second"
        "clock killed between commit and wake-up" "first use from 8 processes at once"
        "two clocks started at once" "corrupt store")
printf '%-42s %7s %7s %7s %11s\n' fault trials starts losses duplicates
bad=0
for f in "${faults[@]}"; do
    printf '%-42s %7d %7d %7d %11d\n' "$f" "${t[$f]:-0}" "${s[$f]:-0}" "${l[$f]:-0}" "${d[$f]:-0}"
    ((${l[$f]:-0} > 0)) && bad=1
done
((${d["two clocks started at once"]:-0} > 0)) && bad=1
exit "$bad"
